// Runs a fuzz target without libFuzzer: every file named on the command line
// (or in a named directory) as it is, then a fixed number of deterministic
// mutations of each. This keeps every fuzz target exercised by the normal and
// the sanitizer test runs; a build with KVQT_FUZZ=ON links libFuzzer instead.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Run(const std::string& input) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

std::string Mutate(std::string input, std::mt19937& rng) {
  std::uniform_int_distribution<int> byte(0, 255);
  int edits = 1 + static_cast<int>(rng() % 8);
  for (int i = 0; i < edits; ++i) {
    switch (rng() % 5) {
      case 0:  // flip a byte
        if (!input.empty()) input[rng() % input.size()] = static_cast<char>(byte(rng));
        break;
      case 1:  // cut the end off
        if (!input.empty()) input.resize(rng() % input.size());
        break;
      case 2:  // insert a byte
        input.insert(input.begin() + static_cast<std::ptrdiff_t>(input.empty() ? 0 : rng() % input.size()),
                     static_cast<char>(byte(rng)));
        break;
      case 3:  // an extreme value in four bytes (counts and lengths)
        if (input.size() >= 4) {
          std::size_t at = rng() % (input.size() - 3);
          const char* extremes[] = {"\xff\xff\xff\xff", "\xff\xff\xff\x7f", "\x00\x00\x00\x80", "\x00\x01\x00\x00"};
          input.replace(at, 4, extremes[rng() % 4], 4);
        }
        break;
      default:  // duplicate a slice
        if (input.size() > 2) {
          std::size_t from = rng() % input.size();
          std::size_t len = rng() % (input.size() - from);
          input.insert(rng() % input.size(), input.substr(from, len));
        }
        break;
    }
  }
  return input;
}

}  // namespace

int main(int argc, char** argv) {
  int iterations = 500;
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--iterations=", 0) == 0) {
      iterations = std::atoi(arg.c_str() + 13);
    } else if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) seeds.push_back(ReadFile(entry.path()));
    } else {
      seeds.push_back(ReadFile(arg));
    }
  }
  if (seeds.empty()) seeds.push_back("");
  std::mt19937 rng(20261210);
  for (const auto& seed : seeds) {
    Run(seed);
    for (int i = 0; i < iterations; ++i) Run(Mutate(seed, rng));
  }
  std::printf("%zu seeds, %d mutations each: no crash\n", seeds.size(), iterations);
  return 0;
}
