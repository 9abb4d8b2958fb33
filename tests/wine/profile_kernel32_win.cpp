// The differential sequence through kernel32's profile functions; run under Wine by the
// differential test, in the directory it chose.
#include <iostream>

#include "profile_sequence.h"

int main() {
  brimvale::differential::RunProfileSequence("\\", std::cout);
  std::cout.flush();
  return 0;
}
