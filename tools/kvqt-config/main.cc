#include <iostream>
#include <string>
#include <vector>

#include "kvqt-config/kvqt_config.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kvqt::config::RunKvqtConfig(args, std::cout, std::cerr);
}
