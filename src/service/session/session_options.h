// How long a download session waits for each answer of the server, and the
// seams through which tests give it a name look-up and a dial-up state of
// their own. An action without options gets the defaults.
#pragma once

#include <chrono>

#include "service/network.h"

namespace kvqt {

class Dialup;

struct SessionTimeouts {
  NetworkTimeout connect = std::chrono::seconds(120);
  NetworkTimeout authorization = std::chrono::seconds(20);  // "Welcome" or "no access"
  NetworkTimeout credit = std::chrono::seconds(25);         // "Credit:" or "Service denied"
  NetworkTimeout creditLine = std::chrono::seconds(20);
  NetworkTimeout uploadPrompt = std::chrono::seconds(20);  // "Start upload"
  NetworkTimeout result = std::chrono::seconds(3600);      // "Ready for result"
  NetworkTimeout fileName = std::chrono::seconds(30);
  NetworkTimeout fileSize = std::chrono::seconds(30);
  NetworkTimeout ack = std::chrono::seconds(20);
  NetworkTimeout block = std::chrono::seconds(10);  // each block of a received file
  NetworkTimeout send = std::chrono::seconds(60);
};

struct SessionOptions {
  SessionTimeouts timeouts;
  // The dial-up state the connection uses; null for the process's.
  Dialup* dialup = nullptr;
  // The name look-up; empty for the system's.
  TNetwork::Resolver resolver;
};

}  // namespace kvqt
