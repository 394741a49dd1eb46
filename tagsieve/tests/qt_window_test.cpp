#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "test_support/files.h"
#include "test_support/recording.h"
#include "tform1.h"
#include "qt_support.h"

namespace {

using Messages = std::vector<std::string>;
using test_support::child;

class TagWindow : public testing::Test {
 protected:
  TagWindow() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    test_support::write_file(dir / "weaptwk.xml",
                             "<Damage>5</Damage>\r\n<Damage>5</Damage>\r\n<Damage>7</Damage>\r\n"
                             "<Port\xE9" "e>\xC9" "cu</Port\xE9" "e>\r\n<Port\xC3\xA9" "e>40</Port\xC3\xA9" "e>\r\n");
  }

  void type(const QString& path, const QString& tag) {
    path_box->setText(path);
    tag_box->setText(tag);
  }
  void click() { QTest::mouseClick(&child<QPushButton>(form, "Button1"), Qt::LeftButton); }
  QString sample() { return QString::fromStdString((dir / "weaptwk.xml").string()); }

  test_support::TempDir dir;
  test_support::RecordingMessages messages;
  tagsieve::TForm1 form{&messages};
  QLineEdit* path_box = &child<QLineEdit>(form, "Edit1");
  QLineEdit* tag_box = &child<QLineEdit>(form, "Edit2");
  QPlainTextEdit& pane = child<QPlainTextEdit>(form, "RichEdit1");
};

// What the form says (captions, the default path, sizes) comes from its
// Designer file as it is; this is what the window adds.
TEST_F(TagWindow, StartsOnThePaneWithEveryCaptionInItsPlace) {
  EXPECT_TRUE(pane.hasFocus());
  test_support::expect_controls_fit(form);
}

// What a scan finds and says is the core's; here, that it gets the boxes'
// path and tag, the tag typed beyond ASCII too, and the check box.
TEST_F(TagWindow, ScansWithWhatTheBoxesSayIntoThePane) {
  type(sample(), "Damage");
  click();
  EXPECT_EQ(pane.toPlainText(), "5\n7");
  QTest::mouseClick(&child<QCheckBox>(form, "CheckBox1"), Qt::LeftButton);
  click();
  EXPECT_EQ(pane.toPlainText(), "5\n5\n7");  // emptied first, not filled twice
  tag_box->setText(QString::fromUtf8("Port\xC3\xA9" "e"));
  click();
  EXPECT_EQ(pane.toPlainText(), QString::fromUtf8("\xC3\x89" "cu\n40"));  // and the pane shows it beyond ASCII
  EXPECT_EQ(messages.shown, Messages{});
}

TEST_F(TagWindow, EnterShowsTheValuesAndTabLeavesThePane) {
  type(sample(), "Damage");
  QTest::keyClick(path_box, Qt::Key_Return);
  EXPECT_EQ(pane.toPlainText(), "5\n7");
  pane.clear();
  pane.setFocus();
  for (const char* next : {"Edit1", "Edit2", "CheckBox1"}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(child<QWidget>(form, next).hasFocus()) << next;
  }
  EXPECT_TRUE(pane.toPlainText().isEmpty());
}

// Qt's own copy would also offer HTML, ODF and Markdown: seconds and a
// gigabyte for a million lines.
TEST_F(TagWindow, CopiesThePaneAsPlainTextOnly) {
  type(sample(), "Damage");
  click();
  pane.selectAll();
  pane.copy();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->formats(), QStringList{"text/plain"});
  EXPECT_EQ(copied->text(), "5\n7");
}

TEST_F(TagWindow, OnlyThePaneFollowsTheWindowsSize) {
  const QRect label = child<QLabel>(form, "Label1").geometry();
  const QRect button = child<QPushButton>(form, "Button1").geometry();
  form.resize(900, 700);
  EXPECT_TRUE(test_support::eventually([&] { return pane.geometry() == QRect(0, 48, 899, 652); }));
  EXPECT_EQ(child<QLabel>(form, "Label1").geometry(), label);
  EXPECT_EQ(child<QPushButton>(form, "Button1").geometry(), button);
  form.resize(100, 100);
  EXPECT_TRUE(test_support::eventually([&] { return form.size() == QSize(617, 233); }));
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool k_address_sanitizer = true;
#elif defined(__has_feature)
constexpr bool k_address_sanitizer = __has_feature(address_sanitizer);
#else
constexpr bool k_address_sanitizer = false;
#endif

// With little address space left, a scan of a million values says that memory
// ran out and leaves the pane empty; the window goes on, and the next scan
// works. This runs in a child process, this program started again with only
// this test and the environment variable below, so that the limit is its own.
constexpr const char* k_memory_limit_run = "TAGSIEVE_TEST_MEMORY_LIMIT_RUN";

TEST_F(TagWindow, AScanTooLargeForMemorySaysSoAndTheWindowGoesOn) {
  if (k_address_sanitizer) GTEST_SKIP() << "AddressSanitizer maps more address space than the limit leaves";
  if (std::getenv(k_memory_limit_run) == nullptr) {
    const std::string command = std::string(k_memory_limit_run) + "=1 timeout 60 /proc/" + std::to_string(::getpid()) +
                                "/exe --gtest_filter=TagWindow.AScanTooLargeForMemorySaysSoAndTheWindowGoesOn";
    EXPECT_EQ(std::system(command.c_str()), 0) << "the run under a limit failed";
    return;
  }
  std::string text;
  for (int i = 0; i < 1'000'000; ++i) text += "<V>" + std::to_string(i) + "</V>\n";
  test_support::write_file(dir / "big.xml", text);
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlimit limit{pages * static_cast<std::size_t>(::getpagesize()) + (96 << 20), RLIM_INFINITY};
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &limit), 0);
  type(QString::fromStdString((dir / "big.xml").string()), "V");
  click();
  EXPECT_EQ(messages.shown, Messages{"Mémoire insuffisante : l'opération a été abandonnée."});
  EXPECT_TRUE(pane.toPlainText().isEmpty());
  type(sample(), "Damage");
  click();
  EXPECT_EQ(pane.toPlainText(), "5\n7");
}

// The first local file of a drop goes to the path box, wherever it lands;
// a drop of no file is refused.
TEST_F(TagWindow, ADroppedFileGoesToThePathBox) {
  const QUrl file = QUrl::fromLocalFile(sample());
  const struct {
    QList<QUrl> urls;
    QWidget* target;
    bool accepted;
  } cases[] = {
      {{file}, pane.viewport(), true},
      {{QUrl("https://example.org/a.xml"), file}, tag_box, true},
      {{QUrl("https://example.org/a.xml")}, &form, false},
      {{}, &form, false},
  };
  for (const auto& c : cases) {
    path_box->setText("before");
    tag_box->setText("Damage");
    QMimeData data;
    data.setUrls(c.urls);
    QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(c.target, &enter);
    QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(c.target, &drop);
    EXPECT_EQ(enter.isAccepted() && drop.isAccepted(), c.accepted) << c.urls.size();
    EXPECT_EQ(path_box->text(), c.accepted ? sample() : "before");
    EXPECT_EQ(tag_box->text(), "Damage");  // a box the file is dropped on keeps its own text
  }
  EXPECT_TRUE(pane.toPlainText().isEmpty());
}

// A screen reader names each box by its label and the pane by what it holds.
TEST_F(TagWindow, EveryControlHasItsAccessibleName) {
  EXPECT_EQ(test_support::accessible_tree(form), (std::map<std::string, std::string>{
                                                     {"Button1", "Afficher les valeurs"},
                                                     {"CheckBox1", "Ne pas réafficher la même valeur"},
                                                     {"Edit1", "Emplacement et nom du fichier :"},
                                                     {"Edit2", "Nom de la balise :"},
                                                     {"Label1", "Emplacement et nom du fichier :"},
                                                     {"Label2", "Nom de la balise :"},
                                                     {"RichEdit1", "Valeurs trouvées"},
                                                 }));
}

}  // namespace
