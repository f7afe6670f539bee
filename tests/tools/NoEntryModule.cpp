// A loadable module that exports no VST 2 entry point.
int NoEntryModuleValue() {
    return 42;
}
