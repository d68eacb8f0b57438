#include "automation/task_line_writer.h"

#include <cstdio>

#include "app/model/directory.h"
#include "app/model/format.h"
#include "app/model/list.h"

namespace kvqt {
namespace {

// A line end inside a name would split the action over two lines.
std::string OneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n') out.push_back(c);
  }
  return out;
}

std::string Quoted(const std::string& text) { return "\"" + OneLine(text) + "\""; }

// A string argument: the quoted text, a comma and a blank.
std::string Argument(const std::string& text) { return Quoted(text) + ", "; }

std::string FormatSymbol(const Format* format) { return format ? format->symbol() : std::string(); }
std::string DirectoryPath(const Directory* directory) { return directory ? directory->name() : std::string(); }
std::string ListName(const List* list) { return list ? list->name() : std::string(); }

std::string Printf(const char* format, long a, long b) {
  char text[64];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

std::string ConvertLine(const ActionInfo& a) {
  std::string line = "=Convert(" + Argument(FormatSymbol(a.sourceFormat));
  // An absent source directory is written without the blank; the interpreter
  // removes leading blanks from every argument, so the line still reads.
  line += a.sourceDirectory ? Argument(a.sourceDirectory->name()) : std::string("\"\",");
  line += Argument(FormatSymbol(a.destinationFormat));
  line += Argument(DirectoryPath(a.destinationDirectory));
  char tail[64];
  std::snprintf(tail, sizeof tail, "%ld, %d)", static_cast<long>(a.startDate.value()), a.convertFlags);
  return line + tail;
}

std::string AppendLine(const ActionInfo& a) {
  return "=Append(" + Argument(FormatSymbol(a.sourceFormat)) + Argument(DirectoryPath(a.sourceDirectory)) +
         Argument(FormatSymbol(a.destinationFormat)) + Quoted(DirectoryPath(a.destinationDirectory)) + ")";
}

std::string DownloadLine(const ActionInfo& a) {
  if (a.kind != 0 && a.kind != 1) return {};
  return Printf("=Download(%ld, %ld, ", a.kind, a.type) + Argument(FormatSymbol(a.sourceFormat)) +
         Argument(ListName(a.list)) + Argument(DirectoryPath(a.sourceDirectory)) +
         Printf("%ld, %ld)", a.startDate.value(), a.endDate.value());
}

std::string FileDownloadLine(const ActionInfo& a) {
  std::string selection;
  switch (a.kind) {
    case 3:
      selection = DirectoryPath(a.sourceDirectory);
      break;
    case 4:
      selection = ListName(a.list);
      break;
    case 7:
      selection = a.definitionFile;
      break;
    default:
      return {};
  }
  char head[96];
  std::snprintf(head, sizeof head, "=FileDownload(%d, %d, %d, %d, ", a.priceType, a.kind, a.type, a.period);
  char info[32];
  std::snprintf(info, sizeof info, ", %d)", a.infoType);
  return head + Printf("%ld, %ld, ", a.startDate.value(), a.endDate.value()) +
         Argument(FormatSymbol(a.sourceFormat)) + Argument(selection) + Argument(FormatSymbol(a.destinationFormat)) +
         Quoted(a.outputFile) + info;
}

}  // namespace

std::string TaskLine(int actionKind, const ActionInfo& action) {
  std::string line;
  switch (actionKind) {
    case kActionConvert:
      line = ConvertLine(action);
      break;
    case kActionAppend:
      line = AppendLine(action);
      break;
    case kActionDownload:
      line = DownloadLine(action);
      break;
    case kActionFileDownload:
      line = FileDownloadLine(action);
      break;
    default:
      break;
  }
  if (!line.empty()) line += "\r\n";
  return line;
}

void writeTaskLine(int actionKind, const ActionInfo& action, const std::string& path) {
  const std::string line = TaskLine(actionKind, action);
  if (line.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fclose(file);
}

}  // namespace kvqt
