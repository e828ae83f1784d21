// Leaks on purpose. The sanitizer build runs it as a test that passes only when LeakSanitizer
// reports the leak, so a suite that "runs clean under LeakSanitizer" cannot be clean merely
// because leak detection was off.
#include <cstdlib>
#include <iostream>

int main() {
  void* volatile lost = std::malloc(77);
  std::cout << "leaked " << lost << "\n";
  lost = nullptr;
  return 0;
}
