#include <iostream>
#include <string>
#include <vector>

#include "kvqt-config/kvqt_config.h"
#include "kvqt-config/password_input.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kvqt::config::RunKvqtConfig(args, std::cin, kvqt::config::InputIsTerminal(), std::cout, std::cerr);
}
