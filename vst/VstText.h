#pragma once
#include <cstddef>

// Bounded text exchange with the host. Hosts hand over buffers whose real size is unknown (in
// practice far larger than the old nominal limits) and rely on the plug-in writing short,
// terminated texts; texts coming from the host are read up to a bound and never trusted to end.
namespace VstText {

// Capacities, terminator included, of what the plug-in writes into host buffers whose size the
// interface leaves open (the plug-in's names use the interface's own limits, records their fields).
constexpr std::size_t kParameterText = 32;  // parameter names, labels, display texts
// Program names: the interface's 24 characters and the terminator. Hosts still hand over buffers of
// exactly that size, so a longer stored name (renamed by the host, restored from a chunk) is cut
// on the way out; the state keeps it whole.
constexpr std::size_t kProgramName = 25;
// Longest text the plug-in reads from a host pointer (terminator excluded).
constexpr std::size_t kHostTextLimit = 255;

// Reads a host text into dst (capacity kHostTextLimit + 1): stops at the terminator or the bound.
// A null src gives an empty text.
void Read(const char* src, char (&dst)[kHostTextLimit + 1]);

}  // namespace VstText
