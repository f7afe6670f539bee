#pragma once

#include <cstddef>

// Images compiled into the binary (by vesmar_png_resources) and found by id, standing in for
// the "PNG" resources of a Windows module. Each generated source registers one table during
// static initialisation.
struct EmbeddedPng {
    int id;
    const unsigned char* data;
    size_t size;
};

struct EmbeddedPngTable {
    const EmbeddedPng* entries;
    int count;
    EmbeddedPngTable* next;
};

// Links a table in (tables are never removed; the table must outlive the process).
void RegisterEmbeddedPngTable(EmbeddedPngTable* table);
// The first registered image with this id, or null.
const EmbeddedPng* FindEmbeddedPng(int id);
