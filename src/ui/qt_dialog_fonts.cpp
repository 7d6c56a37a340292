#include "ui/qt_dialog_fonts.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "dialogs/font_substitutes.h"

namespace kolvre {

namespace {

// A face asked for bold that has no bold of its own is drawn thickened, each letter one pixel
// wider.
constexpr int kBoldWeight = 600;

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

struct LoadedFaces {
  bool any = false;
  std::array<bool, kDialogFaces.size()> loaded{};
};

const LoadedFaces& loadedFaces() {
  static const LoadedFaces faces = [] {
    LoadedFaces out;
    const QDir folder(dialogFontFolder());
    for (std::size_t i = 0; i < kDialogFaces.size(); ++i) {
      const QString path = folder.filePath(qt(kDialogFaces[i].file));
      out.loaded[i] = QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0;
      out.any = out.any || out.loaded[i];
    }
    return out;
  }();
  return faces;
}

const DialogFace* loadedFace(std::string_view face) {
  const LoadedFaces& faces = loadedFaces();
  for (std::size_t i = 0; i < kDialogFaces.size(); ++i)
    if (faces.loaded[i] && qt(kDialogFaces[i].face).compare(qt(face), Qt::CaseInsensitive) == 0)
      return &kDialogFaces[i];
  return nullptr;
}

// The face Windows draws a FONT statement's face in: the face, else its substitute, else the
// fallback face; the system font where the dialog names none.
const DialogFace* faceFor(const DialogFont& font) {
  if (!font.named) return loadedFace(kSystemFace);
  if (const DialogFace* face = loadedFace(font.face)) return face;
  for (const FontSubstitute& row : kFontSubstitutes)
    if (qt(row.face).compare(qt(font.face), Qt::CaseInsensitive) == 0)
      if (const DialogFace* face = loadedFace(row.substitute)) return face;
  return loadedFace(kFallbackFace);
}

bool isBitmap(const DialogFace& face) {
  return face.strikes[0][0] != 0;
}

// The em height asked for, in pixels; the system font where none is named is its own size.
int emHeight(const DialogFont& font, const DialogFace* face) {
  if (!font.named && face && isBitmap(*face)) return face->strikes[0][0];
  return fontPixelHeight(font.points > 0 ? font.points : 8);
}

// A bitmap face's strike for an em height: the largest whose em is no larger, else the
// smallest; its cell height.
int strikeCell(const DialogFace& face, int em) {
  int cell = face.strikes[0][1];
  for (const auto& [strikeEm, strikeCell] : face.strikes)
    if (strikeEm != 0 && strikeEm <= em) cell = strikeCell;
  return cell;
}

QString facePath(const DialogFace& face) {
  return QDir(dialogFontFolder()).filePath(qt(face.file));
}

quint16 tableWord(const QByteArray& table, int at) {
  return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.constData() + at) : 0;
}

// A scalable face's height as Windows gives it: its ascent and descent for Windows (the OS/2
// table's usWinAscent and usWinDescent), each scaled to the em and rounded.
int scalableHeight(const QString& path, int em) {
  const QRawFont raw(path, em);
  const QByteArray os2 = raw.fontTable("OS/2");
  const double unitsPerEm = raw.unitsPerEm();
  if (os2.size() < 78 || unitsPerEm <= 0) return int(std::lround(raw.ascent() + raw.descent()));
  return int(std::lround(tableWord(os2, 74) * em / unitsPerEm)) +
         int(std::lround(tableWord(os2, 76) * em / unitsPerEm));
}

BaseUnits measure(const DialogFont& font) {
  const QString letters = qt(kBaseUnitLetters);
  const DialogFace* face = faceFor(font);
  const int em = emHeight(font, face);
  const bool thickened = font.weight >= kBoldWeight;
  if (face && isBitmap(*face)) {
    const QRawFont raw(facePath(*face), strikeCell(*face, em));
    int width = 0;
    for (const QPointF& advance : raw.advancesForGlyphIndexes(raw.glyphIndexesForString(letters)))
      width += int(std::lround(advance.x()));
    if (thickened) width += int(letters.size());
    return baseUnitsFromMetrics(width, int(std::lround(raw.ascent() + raw.descent())));
  }
  QFont shown = dialogQFont(font);
  shown.setBold(false);  // the thickening is counted below, as Windows counts it
  const QFontMetrics metrics(shown);
  int width = metrics.horizontalAdvance(letters);
  if (thickened) width += int(letters.size());
  const int height = face ? scalableHeight(facePath(*face), em) : metrics.height();
  return baseUnitsFromMetrics(width, height);
}

}  // namespace

QString dialogFontFolder() {
  const QString set = qEnvironmentVariable("KOLVRE_DIALOG_FONTS");
  if (!set.isEmpty()) return set;
  for (const char* folder : {"/usr/share/wine/fonts", "/usr/lib/wine/fonts", "/opt/wine/fonts"})
    if (QFileInfo::exists(QDir(QString::fromLatin1(folder)).filePath(qt(kDialogFaces[0].file))))
      return QString::fromLatin1(folder);
  return QStringLiteral("/usr/share/wine/fonts");
}

bool dialogFacesLoaded() {
  return loadedFaces().any;
}

QString resolvedDialogFace(const DialogFont& font) {
  const DialogFace* face = faceFor(font);
  return face ? qt(face->face) : QString();
}

BaseUnits dialogBaseUnits(const DialogFont& font) {
  // Measured once per font asked for: the checks read every dialog of a script.
  static std::map<std::tuple<bool, std::string, int, int, bool>, BaseUnits> measured;
  const auto key = std::make_tuple(font.named, font.named ? font.face : std::string(),
                                   font.named ? font.points : 0, font.weight, font.italic);
  const auto found = measured.find(key);
  if (found != measured.end()) return found->second;
  return measured[key] = measure(font);
}

QFont dialogQFont(const DialogFont& font) {
  const DialogFace* face = faceFor(font);
  QFont out;
  if (face)
    out.setFamily(qt(face->face));
  else
    out.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
  out.setStyleHint(QFont::SansSerif);
  const int em = emHeight(font, face);
  out.setPixelSize(face && isBitmap(*face) ? strikeCell(*face, em) : em);
  out.setBold(font.weight >= kBoldWeight);
  out.setItalic(font.italic);
  return out;
}

}  // namespace kolvre
