#include "app/live_controls.h"

#include <QDate>
#include <QHeaderView>

#include "app/live_classes.h"
#include "dialogs/styles.h"

namespace kolvre {

namespace {

// Style bits the live controls show. The names stand in the style tables; these are the few
// the looks depend on.
constexpr std::uint32_t kWsBorder = 0x800000, kWsVscroll = 0x200000, kWsHscroll = 0x100000;
constexpr std::uint32_t kEsCenter = 1, kEsRight = 2, kEsPassword = 0x20, kEsReadOnly = 0x800;
constexpr std::uint32_t kSsCenter = 1, kSsRight = 2, kSsNoPrefix = 0x80, kSsSunken = 0x1000;
constexpr std::uint32_t kBsDefPushButton = 1, kBsAuto3State = 6, kSbsVert = 1;
constexpr std::uint32_t kBsMultiLine = styleNameValue("BS_MULTILINE");
constexpr std::uint32_t kSsIcon = styleNameValue("SS_ICON");
constexpr std::uint32_t kSsBlackRect = styleNameValue("SS_BLACKRECT");
constexpr std::uint32_t kSsWhiteFrame = styleNameValue("SS_WHITEFRAME");
constexpr std::uint32_t kSsEtchedHorz = styleNameValue("SS_ETCHEDHORZ");
constexpr std::uint32_t kSsEtchedVert = styleNameValue("SS_ETCHEDVERT");
constexpr std::uint32_t kSsEtchedFrame = styleNameValue("SS_ETCHEDFRAME");

// The colour of an icon the script does not hold, and of the placeholders.
const QColor kPlaceholderGrey(192, 192, 192);

// A static's text as it shows: "&x" underlines x, "&&" is one "&".
QString mnemonicText(const QString& text) {
  QString shown;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    // A line feed breaks the line, a tab shows as four blanks, and blanks in a row all show
    // (rich text would fold them into one).
    if (c == u'\n' || c == u'\r' || c == u'\t') {
      shown += c == u'\n'   ? QStringLiteral("<br>")
               : c == u'\t' ? QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;")
                            : QString();
      continue;
    }
    if (c == u' ' && (i == 0 || text[i - 1] == u' ')) {
      shown += QStringLiteral("&nbsp;");
      continue;
    }
    if (c == u'&' && i + 1 < text.size()) {
      const QChar next = text[++i];
      shown += next == u'&' ? QStringLiteral("&amp;")
                            : QStringLiteral("<u>%1</u>").arg(QString(next).toHtmlEscaped());
      continue;
    }
    shown += QString(c).toHtmlEscaped();
  }
  return shown;
}

// The name a placeholder or a browse's column shows: the script class it stands for.
QString placeholderName(ControlClass c) {
  switch (c) {
    case ControlClass::Bitmap:
      return QStringLiteral("TBitmap");
    case ControlClass::Icon:
      return QStringLiteral("TIcon");
    case ControlClass::Image:
      return QStringLiteral("TImage");
    case ControlClass::RichEdit:
      return QStringLiteral("TRichEdit");
    case ControlClass::ColumnBrowse:
      return QStringLiteral("TCBrowse");
    case ControlClass::ExtendedBrowse:
      return QStringLiteral("TXBrowse");
    default:
      return QStringLiteral("TWBrowse");
  }
}

Qt::Alignment horizontalAlignment(std::uint32_t low) {
  return (low & 3) == kEsRight    ? Qt::AlignRight
         : (low & 3) == kEsCenter ? Qt::AlignHCenter
                                  : Qt::AlignLeft;
}

template <typename Control>
Control* make(QWidget* parent, const LiveFields& fields) {
  auto* c = new Control(parent);
  c->fields = fields;
  return c;
}

// Shows `picture` at the label's top-left corner, on the dialog's own background.
void showPicture(QLabel* label, const QImage& picture) {
  label->setPixmap(QPixmap::fromImage(picture));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// Makes `label` a grey box.
void greyBox(QLabel* label) {
  label->setAutoFillBackground(true);
  QPalette p = label->palette();
  p.setColor(QPalette::Window, kPlaceholderGrey);
  label->setPalette(p);
}

// A grey box labelled with the class it stands for; `label` names a class the preview lacks. An
// ICON statement whose icon the script holds shows its picture instead.
QWidget* placeholder(QWidget* parent, const LiveFields& fields, ControlClass c,
                     const QString& text = {}, const QImage& picture = {}) {
  QLabel* label = nullptr;
  if (c == ControlClass::Bitmap) label = make<LiveBitmap>(parent, fields);
  if (c == ControlClass::Icon) label = make<LiveIcon>(parent, fields);
  if (c == ControlClass::Image) label = make<LiveImage>(parent, fields);
  if (c == ControlClass::RichEdit) label = make<LiveRichEdit>(parent, fields);
  if (c == ControlClass::Placeholder) label = make<LivePlaceholder>(parent, fields);
  if (!picture.isNull()) {
    showPicture(label, picture);
    return label;
  }
  label->setText(c == ControlClass::Placeholder ? text : placeholderName(c));
  label->setAlignment(Qt::AlignCenter);
  greyBox(label);
  return label;
}

QWidget* browse(QWidget* parent, const LiveFields& fields, ControlClass c) {
  QTreeWidget* tree = nullptr;
  if (c == ControlClass::ColumnBrowse) tree = make<LiveColumnBrowse>(parent, fields);
  if (c == ControlClass::ExtendedBrowse) tree = make<LiveExtendedBrowse>(parent, fields);
  if (c == ControlClass::WindowBrowse) tree = make<LiveWindowBrowse>(parent, fields);
  tree->setColumnCount(1);
  tree->setHeaderLabels({placeholderName(c)});
  tree->setRootIsDecorated(false);
  return tree;
}

// The shape a static of type `low` (its style's low five bits) draws, and in what colour.
StaticShape staticShape(std::uint32_t low, const QPalette& palette, QColor& colour) {
  if (low >= kSsBlackRect && low <= kSsWhiteFrame) {
    // Black, grey and white, each a filled rectangle and then a frame.
    const std::uint32_t shade = (low - kSsBlackRect) % 3;
    colour = shade == 0   ? palette.color(QPalette::WindowText)
             : shade == 1 ? palette.color(QPalette::Dark)
                          : palette.color(QPalette::Base);
    return low - kSsBlackRect < 3 ? StaticShape::Rect : StaticShape::Frame;
  }
  if (low == kSsEtchedHorz) return StaticShape::EtchedTop;
  if (low == kSsEtchedVert) return StaticShape::EtchedLeft;
  if (low == kSsEtchedFrame) return StaticShape::EtchedFrame;
  return StaticShape::None;
}

// A static text: its caption plain or with its mnemonics shown, wrapped, aligned and framed as
// its style asks; a static of a drawn type (a rectangle, a frame, an etched line) draws it and
// no text, and one with SS_ICON shows its icon.
QWidget* staticText(QWidget* dialog, const LiveControlRequest& request, std::uint32_t style) {
  const std::uint32_t low = style & 31;
  auto* say = make<LiveStaticText>(dialog, request.fields);
  say->shape = staticShape(low, say->palette(), say->colour);
  if (say->shape != StaticShape::None) return say;
  if (low == kSsIcon) {
    if (request.picture.isNull())
      greyBox(say);
    else
      showPicture(say, request.picture);
    return say;
  }
  if (style & kSsNoPrefix) {
    say->setTextFormat(Qt::PlainText);
    say->setText(request.caption);
  } else {
    say->setTextFormat(Qt::RichText);
    say->setText(mnemonicText(request.caption));
  }
  say->setWordWrap((low & 3) != 0 || low == 0);
  say->setAlignment(horizontalAlignment(low == kSsRight    ? kEsRight
                                        : low == kSsCenter ? kEsCenter
                                                           : 0) |
                    Qt::AlignTop);
  if (style & kSsSunken) say->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  if (style & kWsBorder) say->setFrameStyle(QFrame::Box | QFrame::Plain);
  return say;
}

// The buttons: push button, check box, radio button, group box and bitmap button; null for any
// other class.
QWidget* buttonControl(QWidget* dialog, const LiveControlRequest& request, std::uint32_t style) {
  const LiveFields& f = request.fields;
  const std::uint32_t low = style & 31;
  switch (f.liveClass) {
    case ControlClass::Button: {
      auto* b = make<LiveButton>(dialog, f);
      b->showText(request.caption, style & kBsMultiLine);
      b->setDefault(low == kBsDefPushButton);
      return b;
    }
    case ControlClass::CheckBox: {
      auto* b = make<LiveCheckBox>(dialog, f);
      b->showText(request.caption, style & kBsMultiLine);
      b->setTristate(true);
      b->setCheckState(low == kBsAuto3State ? Qt::PartiallyChecked : Qt::Unchecked);
      return b;
    }
    case ControlClass::RadioButton: {
      auto* r = make<LiveRadioButton>(dialog, f);
      r->showText(request.caption, style & kBsMultiLine);
      r->setAutoExclusive(false);  // a radio button of the designer belongs to no group
      return r;
    }
    case ControlClass::GroupBox: {
      auto* g = make<LiveGroupBox>(dialog, f);
      g->setTitle(request.caption);
      g->setAttribute(Qt::WA_TransparentForMouseEvents);
      return g;
    }
    case ControlClass::BitmapButton: {
      auto* b = make<LiveBitmapButton>(dialog, f);
      b->setText(request.caption);
      return b;
    }
    default:
      return nullptr;
  }
}

// The edits and the lists: edit, multi-line edit, list box and combo box; null for any other
// class.
QWidget* editOrList(QWidget* dialog, const LiveFields& f, std::uint32_t style) {
  const std::uint32_t low = style & 31;
  switch (f.liveClass) {
    case ControlClass::ComboBox: {
      auto* c = make<LiveComboBox>(dialog, f);
      c->setEditable(false);  // always shown as a drop-down list
      return c;
    }
    case ControlClass::Edit: {
      auto* e = make<LiveEdit>(dialog, f);
      e->setAlignment(horizontalAlignment(low));
      if (style & kEsPassword) e->setEchoMode(QLineEdit::Password);
      e->setReadOnly(style & kEsReadOnly);
      e->setFrame(style & kWsBorder);
      if (style & kEsReadOnly) e->setEnabled(false);  // read-only edits look disabled
      return e;
    }
    case ControlClass::MultiLineEdit: {
      auto* e = make<LiveMultiLineEdit>(dialog, f);
      e->setVerticalScrollBarPolicy(style & kWsVscroll ? Qt::ScrollBarAlwaysOn
                                                       : Qt::ScrollBarAlwaysOff);
      e->setHorizontalScrollBarPolicy(style & kWsHscroll ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
      e->setReadOnly(style & kEsReadOnly);
      if (!(style & kWsBorder)) e->setFrameStyle(QFrame::NoFrame);
      return e;
    }
    case ControlClass::ListBox: {
      auto* l = make<LiveListBox>(dialog, f);
      l->setVerticalScrollBarPolicy(style & kWsVscroll ? Qt::ScrollBarAlwaysOn
                                                       : Qt::ScrollBarAsNeeded);
      if (!(style & kWsBorder)) l->setFrameStyle(QFrame::NoFrame);
      return l;
    }
    default:
      return nullptr;
  }
}

// The other common controls: scroll bar, date picker, tab control, tree view and meter; null for
// any other class.
QWidget* commonControl(QWidget* dialog, const LiveFields& f, std::uint32_t style) {
  switch (f.liveClass) {
    case ControlClass::ScrollBar: {
      auto* s = make<LiveScrollBar>(dialog, f);
      s->setOrientation(style & kSbsVert ? Qt::Vertical : Qt::Horizontal);
      s->setRange(1, 10);
      return s;
    }
    case ControlClass::DatePicker: {
      auto* d = make<LiveDatePicker>(dialog, f);
      d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
      d->setDate(QDate::currentDate());
      return d;
    }
    case ControlClass::TabControl: {
      auto* t = make<LiveTabControl>(dialog, f);
      t->addTab(new QWidget(t), QString());
      return t;
    }
    case ControlClass::TreeView: {
      auto* t = make<LiveTreeView>(dialog, f);
      t->setHeaderHidden(true);
      return t;
    }
    case ControlClass::Meter: {
      // A meter at its start, its percentage shown in the middle.
      auto* m = make<LiveMeter>(dialog, f);
      m->setRange(0, 100);
      m->setValue(0);
      m->setAlignment(Qt::AlignCenter);
      return m;
    }
    default:
      return nullptr;
  }
}

}  // namespace

QWidget* makeLiveControl(const LiveControlRequest& request, QWidget* dialog) {
  const LiveFields& f = request.fields;
  const std::uint32_t style = f.style ? *f.style : request.compiledStyle.value_or(0);
  QWidget* w = nullptr;
  switch (f.liveClass) {
    case ControlClass::Bitmap:
    case ControlClass::Icon:
    case ControlClass::Image:
    case ControlClass::RichEdit:
      w = placeholder(dialog, f, f.liveClass);
      break;
    case ControlClass::Placeholder:
      w = placeholder(dialog, f, f.liveClass, request.caption, request.picture);
      break;
    case ControlClass::WindowBrowse:
    case ControlClass::ColumnBrowse:
    case ControlClass::ExtendedBrowse:
      w = browse(dialog, f, f.liveClass);
      break;
    case ControlClass::StaticText:
      w = staticText(dialog, request, style);
      break;
    case ControlClass::Button:
    case ControlClass::CheckBox:
    case ControlClass::RadioButton:
    case ControlClass::GroupBox:
    case ControlClass::BitmapButton:
      w = buttonControl(dialog, request, style);
      break;
    case ControlClass::ComboBox:
    case ControlClass::Edit:
    case ControlClass::MultiLineEdit:
    case ControlClass::ListBox:
      w = editOrList(dialog, f, style);
      break;
    case ControlClass::ScrollBar:
    case ControlClass::DatePicker:
    case ControlClass::TabControl:
    case ControlClass::TreeView:
    case ControlClass::Meter:
      w = commonControl(dialog, f, style);
      break;
  }
  w->setObjectName(placeholderName(f.liveClass));
  return w;
}

LiveFields* liveFields(QWidget* control) {
  auto* live = dynamic_cast<LiveControl*>(control);
  return live ? &live->fields : nullptr;
}

}  // namespace kolvre
