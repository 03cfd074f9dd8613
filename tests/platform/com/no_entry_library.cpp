// A library that loads but serves no classes: it lacks the entry point.
extern "C" [[gnu::visibility("default")]] int ComTestNoEntry() { return 1; }
