// Step 0 of the download session: the selection, the connection settings and
// the user's identification are checked, and the request file is written.
#include <cstdio>

#include "app/datafile/login_record.h"
#include "app/datafile/user_info.h"
#include "service/import/result_import.h"
#include "service/request_file.h"
#include "service/session/credentials_check.h"
#include "service/session/download_session.h"
#include "service/session/result_archive.h"
#include "service/session/session_steps.h"

namespace kvqt::session {
namespace {

// The connection types that dial a telephone number.
bool DialsTelephone(int connection) { return connection == 0 || connection == 2; }

}  // namespace

int CheckAndRequest(StepRunner& runner, ActionInfo& action, int& counter) {
  // A connection an earlier, cancelled session left open goes first.
  CloseConnection(action);
  action.network.reset();

  for (const char* name : {kRequestFileName, kResultFileName, kResultArchiveName, kMessageOfTheDayFile}) {
    std::remove(name);
  }

  if (const char* problem = SelectionProblem(action)) {
    runner.error(problem);
    return kStepErrorShown;
  }
  if (action.userInfo != nullptr && DialsTelephone(action.userInfo->connection) && action.userInfo->telno1.empty()) {
    runner.error("Choose configure to enter telephone number");
    return kStepErrorShown;
  }
  const std::string login = action.login != nullptr ? action.login->userNumber : std::string();
  const std::string password = action.login != nullptr ? action.login->password : std::string();
  std::string problem = CredentialsProblem(login, password);
  if (!problem.empty()) {
    runner.error(problem);
    return kStepErrorShown;
  }

  runner.status("Creating definition file", true);
  if (BuildRequestFile(action) != 0) {
    runner.error("Can't create definition file");
    return kStepErrorShown;
  }
  counter = kSessionConnect;
  return kStepGoOn;
}

}  // namespace kvqt::session
