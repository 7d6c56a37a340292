// The live controls of dialogs: their looks and contents, and the designer's diverted input.
#include "app/live_controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace kolvre {
namespace {

// Records what reaches the designer.
struct Recorder : DesignerInput {
  std::vector<std::string> seen;
  QPoint lastAt;
  void leftPressed(QWidget*, QPoint at, Qt::KeyboardModifiers) override {
    seen.push_back("L");
    lastAt = at;
  }
  void rightClicked(QWidget*, QPoint at, Qt::KeyboardModifiers) override {
    seen.push_back("R");
    lastAt = at;
  }
  void leftReleased(QWidget*, QPoint) override { seen.push_back("up"); }
  void mouseMoved(QWidget*, QPoint, Qt::MouseButtons) override {}
  void keyPressed(QWidget*, int key, Qt::KeyboardModifiers) override {
    seen.push_back("key " + std::to_string(key));
  }
};

class LiveControls : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.resize(400, 300);
    dialog.show();
  }
  QWidget* make(ControlClass c, std::uint32_t style = 0x50010000,
                const QString& caption = "Testo") {
    LiveControlRequest request;
    request.fields.liveClass = c;
    request.fields.id = 101;
    request.fields.style = style;
    request.caption = caption;
    QWidget* w = makeLiveControl(request, &dialog);
    w->setGeometry(10, 10, 120, 60);
    w->show();
    return w;
  }
  QWidget dialog;
  Recorder designer;
};

TEST_F(LiveControls, EachClassCarriesItsFieldsAndLooksLikeItsControl) {
  const std::pair<ControlClass, const char*> rows[] = {
      {ControlClass::Button, "QPushButton"},
      {ControlClass::CheckBox, "QCheckBox"},
      {ControlClass::RadioButton, "QRadioButton"},
      {ControlClass::GroupBox, "QGroupBox"},
      {ControlClass::ComboBox, "QComboBox"},
      {ControlClass::Edit, "QLineEdit"},
      {ControlClass::MultiLineEdit, "QPlainTextEdit"},
      {ControlClass::ListBox, "QListWidget"},
      {ControlClass::StaticText, "QLabel"},
      {ControlClass::ScrollBar, "QScrollBar"},
      {ControlClass::DatePicker, "QDateEdit"},
      {ControlClass::TabControl, "QTabWidget"},
      {ControlClass::TreeView, "QTreeWidget"},
      {ControlClass::WindowBrowse, "QTreeWidget"},
      {ControlClass::Meter, "QProgressBar"},
      {ControlClass::BitmapButton, "QToolButton"},
      {ControlClass::Bitmap, "QLabel"},
      {ControlClass::RichEdit, "QLabel"},
  };
  for (const auto& [c, base] : rows) {
    QWidget* w = make(c);
    EXPECT_TRUE(w->inherits(base)) << base;
    ASSERT_TRUE(liveFields(w)) << base;
    EXPECT_EQ(liveFields(w)->liveClass, c);
    EXPECT_EQ(liveFields(w)->id, 101);
  }
  QLabel plain(&dialog);
  EXPECT_EQ(liveFields(&plain), nullptr);
}

TEST_F(LiveControls, ContentsFollowTheClassAndStyle) {
  EXPECT_EQ(qobject_cast<QCheckBox*>(make(ControlClass::CheckBox, 0x50010006))->checkState(),
            Qt::PartiallyChecked);
  EXPECT_EQ(qobject_cast<QCheckBox*>(make(ControlClass::CheckBox, 0x50010003))->checkState(),
            Qt::Unchecked);
  auto* bar = qobject_cast<QScrollBar*>(make(ControlClass::ScrollBar, 0x50000001));
  EXPECT_EQ(bar->orientation(), Qt::Vertical);
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), 10);
  EXPECT_EQ(qobject_cast<QTreeWidget*>(make(ControlClass::ColumnBrowse))->headerItem()->text(0),
            "TCBrowse");
  EXPECT_EQ(qobject_cast<QLabel*>(make(ControlClass::Image))->text(), "TImage");
  EXPECT_TRUE(qobject_cast<QPushButton*>(make(ControlClass::Button, 0x50010001))->isDefault());
  EXPECT_EQ(qobject_cast<QLabel*>(make(ControlClass::StaticText, 0x50000002))->alignment() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
}

TEST_F(LiveControls, ABitmapButtonClickReachesTheDesignerAndNeverRunsTheButton) {
  auto* button = qobject_cast<QToolButton*>(make(ControlClass::BitmapButton));
  QSignalSpy clicked(button, &QToolButton::clicked);
  divertInput(button, &designer);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 6));
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(designer.seen, (std::vector<std::string>{"L", "up"}));
  EXPECT_EQ(designer.lastAt, QPoint(5, 6));
}

TEST_F(LiveControls, ABrowseRowIsNeverSelectedAndADoubleClickActsAsAClick) {
  auto* tree = qobject_cast<QTreeWidget*>(make(ControlClass::WindowBrowse));
  tree->addTopLevelItem(new QTreeWidgetItem(QStringList{"riga"}));
  divertInput(tree, &designer);
  const QPoint row = tree->visualItemRect(tree->topLevelItem(0)).center();
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, row);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, row);
  EXPECT_TRUE(tree->selectedItems().isEmpty());
  // The click and the double click: each reaches the designer as one click.
  EXPECT_EQ(std::count(designer.seen.begin(), designer.seen.end(), "L"), 2);
  QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, row);
  EXPECT_EQ(designer.seen.back(), "R");
}

TEST_F(LiveControls, KeysAndClicksDoNotWorkTheControls) {
  auto* radio = qobject_cast<QRadioButton*>(make(ControlClass::RadioButton));
  auto* other = qobject_cast<QRadioButton*>(make(ControlClass::RadioButton));
  radio->setChecked(true);
  divertInput(radio, &designer);
  divertInput(other, &designer);
  QTest::keyClick(radio, Qt::Key_Down);
  EXPECT_TRUE(radio->isChecked());
  EXPECT_FALSE(other->isChecked());
  EXPECT_EQ(designer.seen.back(), "key " + std::to_string(Qt::Key_Down));

  auto* bar = qobject_cast<QScrollBar*>(make(ControlClass::ScrollBar));
  divertInput(bar, &designer);
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, bar->height() / 2));
  EXPECT_EQ(bar->value(), 1);

  auto* combo = qobject_cast<QComboBox*>(make(ControlClass::ComboBox));
  divertInput(combo, &designer);
  QTest::mouseClick(combo, Qt::LeftButton);
  EXPECT_FALSE(combo->hasFocus());
  EXPECT_EQ(combo->focusPolicy(), Qt::NoFocus);

  auto* say = make(ControlClass::StaticText, 0x50001000);  // a sunken static: its border is clicked
  divertInput(say, &designer);
  QTest::mouseClick(say, Qt::LeftButton, {}, QPoint(1, 1));
  EXPECT_EQ(designer.seen.back(), "up");
  EXPECT_EQ(designer.lastAt, QPoint(1, 1));
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST_F(LiveControls, AStaticUnderlinesItsMnemonicUnlessItTakesNoPrefix) {
  auto* say =
      qobject_cast<QLabel*>(make(ControlClass::StaticText, 0x50000000, "&Nome && <cognome>"));
  ASSERT_TRUE(say);
  EXPECT_EQ(say->text(), "<u>N</u>ome &amp; &lt;cognome&gt;");
  // Line ends, tabs and blanks in a row show as the window draws them.
  auto* lines = qobject_cast<QLabel*>(make(ControlClass::StaticText, 0x50000000, " a  b\tc\r\nd"));
  EXPECT_EQ(lines->text(), "&nbsp;a &nbsp;b&nbsp;&nbsp;&nbsp;&nbsp;c<br>d");
  auto* plain = qobject_cast<QLabel*>(make(ControlClass::StaticText, 0x50000080, "&Nome"));
  EXPECT_EQ(plain->text(), "&Nome");
  EXPECT_EQ(plain->textFormat(), Qt::PlainText);
}

}  // namespace
}  // namespace kolvre
