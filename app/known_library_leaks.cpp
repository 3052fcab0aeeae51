// Leaks inside libraries we use, for the leak checker of the sanitizer build: libpng leaves a
// damaged PNG by a long jump straight through OpenImageIO's C++ frames, which drops a message
// string on the floor. Linked into every program that reads image files (the sanitizer runtime
// looks for this function in the program itself).
#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libOpenImageIO\n";
}
// Without a summary of the suppressions used: standard error carries only what the host says.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
