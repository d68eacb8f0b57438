#include "app/application.h"

#include <cstdio>

#include "app/runner/headless_progress.h"
#include "app/core/logs.h"
#include "app/runner/program_args.h"
#include "platform/path.h"
#include "service/symbols/digital_feed.h"

namespace kvqt {

Application::Application(std::vector<std::string> arguments) : arguments_(std::move(arguments)) {}

bool Application::HasNoWindow() const { return HasNoWindowOption(arguments_); }

int Application::start(const std::string& programDirectory, const SymbolFeedImporter& importFeed) {
  programDirectory_ = programDirectory;
  if (!platform::FileExists(DataFilePath(programDirectory_))) arguments_.clear();
  SetProgramArguments(arguments_);

  SymbolFeedImporter importer = importFeed;
  if (!importer) {
    importer = [this](const std::string& path) { return ImportSymbolFeed(programDirectory_, path); };
  }
  loadResult_ = data_.load(programDirectory_, formats_, importer);
  interactive_ = arguments_.empty() || loadResult_ == kTooManyFormats || !data_.loginRecordRead();

  Logs::DeleteReport();
  std::remove(platform::ResolveNoCase(programDirectory_ + kTaskFileName).c_str());

  action_ = ActionInfo();
  action_.formats = &formats_;
  action_.userInfo = &data_.userInfo();
  action_.login = &data_.login();
  action_.taskFileFlag = false;
  return loadResult_;
}

int Application::save() {
  // A task file that an action's own error or Cancel left open ends with the run.
  if (action_.taskFile != nullptr) {
    std::fclose(action_.taskFile);
    action_.taskFile = nullptr;
    action_.taskFileFlag = false;
  }
  int rc = data_.save(programDirectory_, formats_);
  formats_.clear();
  return rc;
}

int BatchExitCode(int runResult) { return runResult == kStepFinished ? 0 : 1; }

int RunHeadlessBatch(Application& application, StepFunction firstStep,
                     std::function<void(HeadlessProgress&)> idle) {
  HeadlessProgress host(/*echo=*/true);
  host.setIdle(std::move(idle));
  return BatchExitCode(host.run(firstStep, application.action(), 1));
}

}  // namespace kvqt
