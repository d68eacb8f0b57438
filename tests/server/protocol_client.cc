#include "protocol_client.h"

#include <algorithm>

#include "service/fake_progress_host.h"
#include "service/line_protocol.h"

namespace kvqt::testing {
namespace {

bool PlainName(const std::string& name) {
  return !name.empty() && name.find_first_of("/\\<>*?:") == std::string::npos && name.find("..") == std::string::npos;
}

long SoundSize(const std::string& text) {
  if (text.empty() || text.size() > 9) return -1;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
  }
  long size = std::stol(text);
  return size > 0 ? size : -1;
}

}  // namespace

ClientRun RunClient(int port, const ClientScript& script) {
  ClientRun run;
  FakeProgressHost host;
  TNetwork network;
  ReceiveBuffer buffer;
  LineProtocol protocol(network, buffer, host);
  run.connected = network.Connect("127.0.0.1", port, script.connect_timeout, host, &run.connect_error);
  auto finish = [&]() -> ClientRun {
    network.Close();
    run.transcript = host.terminal;
    return run;
  };
  if (!run.connected) return finish();

  protocol.SendLine(script.login, true);
  protocol.SendLine("\n", true);
  protocol.SendLine(script.password, false);
  protocol.SendLine("\n", false);
  host.terminal.clear();  // the transcript of what the server sent
  run.authorization = protocol.ExpectOneOf("Welcome", "no access", script.wait, true);
  if (run.authorization != 1) return finish();
  run.credit_answer = protocol.ExpectOneOf("Credit:", "Service denied", script.wait, true);
  if (run.credit_answer != 1) return finish();
  protocol.ReadLine(&run.credit, 80, script.wait, true);

  run.upload_prompt = protocol.ExpectText("Start upload", script.wait, true);
  if (!run.upload_prompt) return finish();
  protocol.SendLine(script.upload_name, false);
  protocol.SendLine("\n", false);
  if (!protocol.WaitAck()) return finish();
  ++run.upload_acks;
  protocol.SendLine(script.upload_size.value_or(std::to_string(script.query.size())) + "\n", false);
  if (!protocol.WaitAck()) return finish();
  ++run.upload_acks;
  std::size_t sent = 0;
  while (sent < script.query.size()) {
    std::size_t n = std::min<std::size_t>(1024, script.query.size() - sent);
    sent += protocol.WriteAll(script.query.data() + sent, n, script.wait);
    if (sent % 1024 == 0) {
      if (!protocol.WaitAck()) return finish();
      ++run.upload_acks;
    }
  }
  if (sent % 1024 != 0) {
    if (!protocol.WaitAck()) return finish();
    ++run.upload_acks;
  }
  run.uploaded = true;

  run.result_ready = protocol.ExpectText("Ready for result", script.wait, true);
  if (!run.result_ready) return finish();
  if (protocol.ReadLine(&run.file_name, 80, script.wait, false) == 0) return finish();
  if (!PlainName(run.file_name)) {
    protocol.SendNak();
    return finish();
  }
  protocol.SendAck();
  ++run.acks_sent;
  if (protocol.ReadLine(&run.size_text, 1024, script.wait, false) == 0) return finish();
  long size = SoundSize(run.size_text);
  if (size < 0) {
    protocol.SendNak();
    return finish();
  }
  protocol.SendAck();
  ++run.acks_sent;
  while (static_cast<long>(run.archive.size()) < size) {
    char block[1024];
    std::size_t n = protocol.ReadBytes(block, std::min<std::size_t>(1024, size - run.archive.size()), script.wait);
    if (n == 0) return finish();
    run.archive.append(block, n);
    if (run.archive.size() % 1024 == 0) {
      protocol.SendAck();
      ++run.acks_sent;
    }
  }
  if (run.archive.size() % 1024 != 0) {
    protocol.SendAck();
    ++run.acks_sent;
  }
  run.received = true;
  return finish();
}

}  // namespace kvqt::testing
