// The tool bar pictures: the icon theme's by their freedesktop names, the
// program's own where the theme has none.
#include "ui/icons.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <set>
#include <string>

#include "ui/commands.h"
#include "ui/qt_test_app.h"

namespace kvqt::ui {
namespace {

using kvqt::testing::QtTest;

constexpr int kToolBarCommands[] = {kCmdFileManager,  kCmdSearch,       kCmdDirectoryEditor,
                                    kCmdListEditor,   kCmdConfigure,    kCmdFileDownload,
                                    kCmdDefinitionFileDownload, kCmdDownload};

// The share of pixels that are not transparent.
double Covered(const QImage& image) {
  int covered = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 0) ++covered;
  return double(covered) / (image.width() * image.height());
}

class IconsTest : public QtTest {
 protected:
  void SetUp() override {
    QtTest::SetUp();
    oldPaths_ = QIcon::themeSearchPaths();
    oldTheme_ = QIcon::themeName();
  }
  void TearDown() override {
    QIcon::setThemeSearchPaths(oldPaths_);
    QIcon::setThemeName(oldTheme_);
    QtTest::TearDown();
  }
  QStringList oldPaths_;
  QString oldTheme_;
};

TEST_F(IconsTest, EveryToolBarCommandHasAThemeNameAndAPictureOfItsOwn) {
  const struct {
    int id;
    const char* name;
  } names[] = {
      {kCmdFileManager, "system-file-manager"}, {kCmdSearch, "edit-find"},
      {kCmdDirectoryEditor, "folder"},          {kCmdListEditor, "view-list-details"},
      {kCmdConfigure, "preferences-system"},    {kCmdFileDownload, "document-save"},
      {kCmdDefinitionFileDownload, "text-x-generic"}, {kCmdDownload, "go-down"},
  };
  for (const auto& n : names) EXPECT_STREQ(n.name, CommandIconName(n.id)) << n.id;
  EXPECT_STREQ("", CommandIconName(kCmdExit));

  std::set<QByteArray> pictures;
  for (int id : kToolBarCommands) {
    for (int size : {16, 24, 48}) {
      const QImage image = CommandIconImage(id, size);
      ASSERT_EQ(QSize(size, size), image.size());
      // A pictogram, not a speck and not a filled square.
      const double covered = Covered(image);
      EXPECT_GT(covered, 0.15) << id << " at " << size;
      EXPECT_LT(covered, 0.9) << id << " at " << size;
    }
    const QImage image = CommandIconImage(id, 24);
    pictures.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(std::size(kToolBarCommands), pictures.size()) << "two commands share a picture";
}

TEST_F(IconsTest, TheProgramsPictureWhereTheThemeHasNone) {
  QIcon::setThemeSearchPaths({QString::fromStdString(dir_.path())});
  QIcon::setThemeName("none-such");
  for (int id : kToolBarCommands) {
    const QIcon icon = CommandIcon(id);
    ASSERT_FALSE(icon.isNull()) << id;
    EXPECT_EQ(CommandIconImage(id, 24), icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied))
        << id;
  }
}

TEST_F(IconsTest, TheThemesIconByItsName) {
  const std::string theme = dir_.path() + "icons/test-theme/";
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(theme + "24x24/actions")));
  dir_.write("icons/test-theme/index.theme",
             "[Icon Theme]\nName=test-theme\nDirectories=24x24/actions\n\n"
             "[24x24/actions]\nSize=24\nContext=Actions\nType=Fixed\n");
  QImage red(24, 24, QImage::Format_ARGB32_Premultiplied);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(theme + "24x24/actions/edit-find.png")));
  QIcon::setThemeSearchPaths({QString::fromStdString(dir_.path() + "icons")});
  QIcon::setThemeName("test-theme");

  const QImage search = CommandIcon(kCmdSearch).pixmap(24, 24).toImage();
  EXPECT_EQ(QColor(Qt::red).rgb(), search.pixel(12, 12));
  // A name the theme lacks keeps the program's picture.
  EXPECT_EQ(CommandIconImage(kCmdDownload, 24),
            CommandIcon(kCmdDownload).pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

}  // namespace
}  // namespace kvqt::ui
