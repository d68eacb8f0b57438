// The client's side of a download session, step by step as the program takes
// it, over the program's own TNetwork and line protocol; every answer of the
// server is kept for the tests. It refuses what a careful client refuses: a
// result file name that is not a plain name, and a size that is not a sound
// positive number.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "service/network.h"

namespace kvqt::testing {

struct ClientScript {
  std::string login = "demo0vqx";
  std::string password = "demopass";
  std::string query = "VERSION f3.2.4\r\n";
  std::string upload_name = "query.dat";
  std::optional<std::string> upload_size;  // the size line to announce instead of the real one
  NetworkTimeout connect_timeout = std::chrono::seconds(2);
  NetworkTimeout wait = std::chrono::seconds(2);  // every other wait
};

struct ClientRun {
  bool connected = false;
  int connect_error = -1;
  int authorization = -2;  // ExpectOneOf("Welcome", "no access")
  int credit_answer = -2;  // ExpectOneOf("Credit:", "Service denied")
  std::string credit;
  bool upload_prompt = false;
  int upload_acks = 0;
  bool uploaded = false;
  bool result_ready = false;
  std::string file_name;
  std::string size_text;
  std::string archive;
  int acks_sent = 0;
  bool received = false;
  std::string transcript;
};

ClientRun RunClient(int port, const ClientScript& script);

}  // namespace kvqt::testing
