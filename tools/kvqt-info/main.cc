#include <iostream>
#include <string>
#include <vector>

#include "kvqt-info/kvqt_info.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kvqt::info::RunKvqtInfo(args, std::cout, std::cerr);
}
