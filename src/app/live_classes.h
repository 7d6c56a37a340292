// The C++ classes of the live controls (live_controls.h): one per live class, each on the Qt
// widget that looks like the control, and how those that lay out or draw their contents
// themselves do it: a static's rectangles, frames and etched lines, a button's text on one line
// or wrapped at its width.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdint>
#include <type_traits>

#include "app/live_controls.h"

namespace kolvre {

// The carrier of the model's fields on every live class.
class LiveControl {
 public:
  virtual ~LiveControl() = default;
  LiveFields fields;
};

// A live class: a Qt widget with the fields. The classes differ by name only, so that what a
// control stands for is known from its C++ class as well as from its fields.
template <typename Widget>
class Live : public Widget, public LiveControl {
 public:
  explicit Live(QWidget* parent) : Widget(parent) {}
};

class LiveBitmap : public Live<QLabel> {
  using Live::Live;
};
class LiveIcon : public Live<QLabel> {
  using Live::Live;
};
class LiveImage : public Live<QLabel> {
  using Live::Live;
};
class LiveRichEdit : public Live<QLabel> {
  using Live::Live;
};
// What a static draws instead of its text: a filled rectangle, a frame or an etched edge.
enum class StaticShape : std::uint8_t { None, Rect, Frame, EtchedTop, EtchedLeft, EtchedFrame };

class LiveStaticText : public Live<QLabel> {
 public:
  using Live::Live;
  StaticShape shape = StaticShape::None;
  QColor colour;  // Rect and Frame

 protected:
  void paintEvent(QPaintEvent* event) override;
};
class LiveScrollBar : public Live<QScrollBar> {
  using Live::Live;
};
class LiveComboBox : public Live<QComboBox> {
  using Live::Live;
};
// A text as a button draws it on one line: its line breaks left out.
QString oneLine(QString text);

// A text broken into lines no wider than `width` (at blanks where it can), at its line feeds
// too; a carriage return is left out.
QString wrappedText(const QString& text, const QFont& font, int width);

// A push button, check box or radio button, its text laid out as the control draws it: on one
// line, or with BS_MULTILINE broken into lines at the width its text has.
template <typename Button>
class LiveTextButton : public Live<Button> {
 public:
  using Live<Button>::Live;
  void showText(const QString& text, bool multiLine) {
    text_ = text;
    multiLine_ = multiLine;
    layOut();
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    Button::resizeEvent(event);
    layOut();
  }

 private:
  int textWidth() const {
    const QStyle* s = this->style();
    if constexpr (std::is_base_of_v<QPushButton, Button>)
      return this->width() - 2 * s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, this);
    else if constexpr (std::is_base_of_v<QRadioButton, Button>)
      return this->width() - s->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) -
             s->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this);
    else
      return this->width() - s->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) -
             s->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  }
  void layOut() {
    const QString shown =
        multiLine_ ? wrappedText(text_, this->font(), textWidth()) : oneLine(text_);
    if (shown != this->text()) Button::setText(shown);
  }
  QString text_;
  bool multiLine_ = false;
};

class LiveRadioButton : public LiveTextButton<QRadioButton> {
  using LiveTextButton::LiveTextButton;
};
class LiveTabControl : public Live<QTabWidget> {
  using Live::Live;
};
class LiveBitmapButton : public Live<QToolButton> {
  using Live::Live;
};
class LiveWindowBrowse : public Live<QTreeWidget> {
  using Live::Live;
};
class LiveColumnBrowse : public Live<QTreeWidget> {
  using Live::Live;
};
class LiveExtendedBrowse : public Live<QTreeWidget> {
  using Live::Live;
};
class LiveButton : public LiveTextButton<QPushButton> {
  using LiveTextButton::LiveTextButton;
};
class LiveCheckBox : public LiveTextButton<QCheckBox> {
  using LiveTextButton::LiveTextButton;
};
class LiveGroupBox : public Live<QGroupBox> {
  using Live::Live;
};
class LiveEdit : public Live<QLineEdit> {
  using Live::Live;
};
class LiveMultiLineEdit : public Live<QPlainTextEdit> {
  using Live::Live;
};
class LiveListBox : public Live<QListWidget> {
  using Live::Live;
};
class LiveDatePicker : public Live<QDateEdit> {
  using Live::Live;
};
class LiveTreeView : public Live<QTreeWidget> {
  using Live::Live;
};
class LiveMeter : public Live<QProgressBar> {
  using Live::Live;
};
class LivePlaceholder : public Live<QLabel> {
  using Live::Live;
};

}  // namespace kolvre
