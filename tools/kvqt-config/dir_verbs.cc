#include "kvqt-config/dir_verbs.h"

#include <memory>

#include "app/model/format_ids.h"
#include "kvqt-config/arguments.h"
#include "maintenance/add_directory.h"
#include "platform/path.h"

namespace kvqt::config {
namespace {

// The longest list name the data model keeps.
constexpr std::size_t kMaxListName = 255;

std::string Describe(const Format& format) { return format.symbol() + " (" + format.name() + ")"; }

void MakeFormatCurrent(Formats& formats, const Format& format) { formats.setCurrentIndex(formats.indexOf(&format)); }

// Prints what the shared add-directory step did; false when it refused.
bool Report(VerbContext& context, const std::string& path, const AddedDirectory& added) {
  if (!added.directory) {
    context.err << "kvqt-config: " << path << ": " << added.message << "\n";
    if (added.declined) context.err << "kvqt-config: nothing was added; --convert answers Yes\n";
    return false;
  }
  if (added.created) context.out << "created directory " << path << "\n";
  if (added.converted) context.out << "converted the Ascii Masterfile of " << path << "\n";
  return true;
}

ConvertAnswer ConvertOption(const VerbContext& context) {
  const bool convert = context.convert;
  return [convert] { return convert; };
}

// A directory joins the format (unless it is there already) after the
// editor's checks, and becomes the format's current directory.
bool JoinFormat(VerbContext& context, Format& format, const std::string& path) {
  AddedDirectory added = AddDirectoryToFormat(path, context.data.formats(), format, ConvertOption(context));
  if (!Report(context, path, added)) return false;
  if (added.alreadyInFormat) {
    context.out << "directory " << added.directory->name() << " is already in format " << Describe(format) << "\n";
  } else {
    context.out << "added directory " << path << " to format " << Describe(format) << "\n";
  }
  return true;
}

// The list editor's directory: into the list (its own object with its own
// selection) and into the format, current in both.
bool JoinList(VerbContext& context, Format& format, List& list, const std::string& path) {
  AddedDirectory added = AddDirectoryToList(path, context.data.formats(), format, list, ConvertOption(context));
  if (!Report(context, path, added)) return false;
  const std::string& name = added.directory->name();
  if (added.alreadyInFormat) {
    context.out << "directory " << name << " is already in format " << Describe(format) << "\n";
  } else {
    context.out << "added directory " << path << " to format " << Describe(format) << "\n";
  }
  if (added.alreadyInList) {
    context.out << "directory " << name << " is already in list " << list.name() << "\n";
  } else {
    context.out << "added directory " << name << " to list " << list.name() << "\n";
  }
  return true;
}

const char* ModeName(int mode) {
  switch (mode) {
    case Directory::kSelectNone: return "none";
    case Directory::kSelectAll: return "all";
    default: return "selection";
  }
}

// The entries whose symbol is `symbol`; when none is spelled so, those that
// match regardless of case (tickers are mostly typed in capitals).
std::vector<Datafile*> EntriesWithSymbol(const Directory& directory, const std::string& symbol) {
  std::vector<Datafile*> exact, loose;
  for (int i = 0; i < directory.size(); ++i) {
    Datafile* entry = directory.at(i);
    if (entry->symbol() == symbol) exact.push_back(entry);
    else if (platform::EqualsNoCase(entry->symbol(), symbol)) loose.push_back(entry);
  }
  return exact.empty() ? loose : exact;
}

}  // namespace

int RunAddDirVerb(VerbContext& context, const std::vector<std::string>& args) {
  Formats& formats = context.data.formats();
  Format* format = FindDirectoryFormatArgument(formats, args[0], context.err);
  if (!format) return kExitError;
  std::string path = DirectoryArgument(args[1], context.err);
  if (path.empty() || !JoinFormat(context, *format, path)) return kExitError;
  MakeFormatCurrent(formats, *format);
  context.out << "current: format " << format->symbol() << ", directory " << format->currentDirectory()->name()
              << "\n";
  return kExitOk;
}

int RunAddListVerb(VerbContext& context, const std::vector<std::string>& args) {
  Formats& formats = context.data.formats();
  Format* format = FindDirectoryFormatArgument(formats, args[0], context.err);
  if (!format) return kExitError;
  const std::string& name = args[1];
  if (name.empty() || name.size() > kMaxListName) {
    context.err << "kvqt-config: a list name has 1 to " << kMaxListName << " characters\n";
    return kExitError;
  }
  std::vector<std::string> paths;
  for (std::size_t i = 2; i < args.size(); ++i) {
    paths.push_back(DirectoryArgument(args[i], context.err));
    if (paths.back().empty()) return kExitError;
  }

  List* list = format->listByName(name);
  if (list) {
    context.out << "list " << name << " is already in format " << Describe(*format) << "\n";
  } else {
    format->addList(std::make_unique<List>(name, format->formatId()));
    list = format->listByName(name);
    context.out << "added list " << name << " to format " << Describe(*format) << "\n";
    // Koersbase II and Hermes name a list after the directory it stands for.
    const int id = format->formatId();
    if ((id == kFormatIdKoersbase || id == kFormatIdHermes) && platform::IsAbsolutePath(name) &&
        platform::DirectoryExists(name)) {
      paths.insert(paths.begin(), platform::EnsureTrailingSeparator(name));
    }
  }
  for (const std::string& path : paths) {
    if (!JoinList(context, *format, *list, path)) return kExitError;
  }
  format->setCurrentList(name);
  MakeFormatCurrent(formats, *format);
  return kExitOk;
}

int RunSelectVerb(VerbContext& context, const std::vector<std::string>& args) {
  Format* format = FindDirectoryFormatArgument(context.data.formats(), args[0], context.err);
  if (!format) return kExitError;
  List* list = format->listByName(args[1]);
  if (!list) {
    context.err << "kvqt-config: format " << format->symbol() << " has no list " << args[1] << "\n";
    return kExitError;
  }
  std::string path = DirectoryArgument(args[2], context.err);
  if (path.empty()) return kExitError;
  Directory* directory = list->directoryByName(path);
  if (!directory) {
    context.err << "kvqt-config: list " << list->name() << " has no directory " << path << "\n";
    return kExitError;
  }

  std::vector<std::string> symbols(args.begin() + 3, args.end());
  const bool all = symbols.size() == 1 && symbols[0] == "all";
  const bool none = symbols.size() == 1 && symbols[0] == "none";
  // As the list editor: the entries come from the master first.
  const int refreshed = directory->refresh();
  if (refreshed < 0 && !all && !none) {
    context.err << "kvqt-config: Can't access Masterfile of directory " << directory->name() << "\n";
    return kExitError;
  }

  if (all || none) {
    directory->setSelectionMode(all ? Directory::kSelectAll : Directory::kSelectNone);
    for (int i = 0; i < directory->size(); ++i) directory->at(i)->setSelected(all);
  } else {
    std::vector<Datafile*> chosen;
    for (const std::string& symbol : symbols) {
      std::vector<Datafile*> found = EntriesWithSymbol(*directory, symbol);
      if (found.empty()) {
        context.err << "kvqt-config: no instrument " << symbol << " in directory " << directory->name() << "\n";
        return kExitError;
      }
      chosen.insert(chosen.end(), found.begin(), found.end());
    }
    directory->setSelectionMode(Directory::kSelectStored);
    for (int i = 0; i < directory->size(); ++i) directory->at(i)->setSelected(false);
    for (Datafile* entry : chosen) entry->setSelected(true);
  }
  list->setCurrent(std::string_view(directory->name()));

  int selected = 0;
  for (int i = 0; i < directory->size(); ++i) selected += directory->at(i)->selected() ? 1 : 0;
  context.out << "list " << list->name() << ", directory " << directory->name() << ": "
              << ModeName(directory->selectionMode());
  if (refreshed < 0) {
    context.out << " (the directory has no readable master yet)\n";
  } else {
    context.out << ", " << selected << " of " << directory->size() << " instruments selected\n";
  }
  return kExitOk;
}

}  // namespace kvqt::config
