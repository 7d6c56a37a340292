// Lays out every dialog of compiled resource files (.res) with the system's own dialog manager
// and prints where each control landed, so that the editor's preview can be held against it.
//
//   wine_layout [--fonts] FILE.res...
//
// For each dialog resource, both the plain and the extended template, the dialog is created
// hidden from a copy of its template, with a dialog procedure that does nothing, and read back:
//
//   dialog  NAME  LANGID(hex)
//   client  WIDTH  HEIGHT  BASEX  BASEY
//   INDEX  ID  CLASS  X  Y  W  H  TEXTW  TEXTH  WRAPH  ZEROW  AVECW  STYLE  TX  TY  TCX  TCY
//
// one control line per item of the template, in its order. --fonts adds after the client line
//   font  POINTS  WEIGHT  ITALIC  CHARSET  FACE  USEDFACE
// the font the template asks for and the face the system gave it ("-" without a font).
// README.md in this folder explains every field.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>  // first: the headers below build on it

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

// ---- reading the bytes -------------------------------------------------------------------------

typedef struct {
  const BYTE* data;
  size_t size;
  size_t at;
  int bad;  // set once a read ran past the end
} Reader;

static WORD readWord(Reader* r) {
  if (r->at + 2 > r->size) {
    r->bad = 1;
    r->at = r->size;
    return 0;
  }
  WORD w = (WORD)(r->data[r->at] | (r->data[r->at + 1] << 8));
  r->at += 2;
  return w;
}

static DWORD readDword(Reader* r) {
  DWORD low = readWord(r);
  return low | ((DWORD)readWord(r) << 16);
}

static void alignTo4(Reader* r, size_t base) {
  r->at = base + ((r->at - base + 3) & ~(size_t)3);
  if (r->at > r->size) r->at = r->size;
}

// A name or number as the templates and the resource headers store them: 0xFFFF and a number,
// 0x0000 for none, or a string ending in 0. The string points into the data (not aligned).
typedef struct {
  int present;
  int isNumber;
  WORD number;
  size_t textAt;  // where the UTF-16 text begins
  size_t length;  // in UTF-16 units, without the ending 0
} NameOrNumber;

static NameOrNumber readNameOrNumber(Reader* r) {
  NameOrNumber n = {0};
  WORD first = readWord(r);
  if (first == 0) return n;
  n.present = 1;
  if (first == 0xFFFF) {
    n.isNumber = 1;
    n.number = readWord(r);
    return n;
  }
  n.textAt = r->at - 2;
  for (WORD c = first; c != 0 && !r->bad; c = readWord(r)) n.length++;
  return n;
}

// The UTF-16 text of a name, as a fresh zero-ended string (the data may be unaligned).
static WCHAR* nameText(const Reader* r, const NameOrNumber* n) {
  WCHAR* text = calloc(n->length + 1, sizeof(WCHAR));
  for (size_t i = 0; i < n->length; i++) {
    size_t at = n->textAt + 2 * i;
    text[i] = (WCHAR)(r->data[at] | (r->data[at + 1] << 8));
  }
  return text;
}

// ---- printing ----------------------------------------------------------------------------------

static void printUtf16(const WCHAR* text, size_t length) {
  if (length == 0) return;
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, (int)length, NULL, 0, NULL, NULL);
  char* utf8 = malloc(bytes);
  WideCharToMultiByte(CP_UTF8, 0, text, (int)length, utf8, bytes, NULL, NULL);
  fwrite(utf8, 1, bytes, stdout);
  free(utf8);
}

static void printName(const Reader* r, const NameOrNumber* n) {
  if (n->isNumber) {
    printf("%u", n->number);
    return;
  }
  WCHAR* text = nameText(r, n);
  printUtf16(text, n->length);
  free(text);
}

// ---- the dialog template -----------------------------------------------------------------------

typedef struct {
  DWORD style, exStyle;
  short x, y, cx, cy;
  DWORD id;
  NameOrNumber controlClass, text;
} TemplateItem;

typedef struct {
  int extended;
  DWORD style, exStyle;
  size_t styleAt;  // offset of the style in the template, to change it in the copy
  short x, y, cx, cy;
  NameOrNumber menu, dialogClass, caption;
  int hasFont;
  WORD points, weight;
  BYTE italic, charset;
  NameOrNumber face;
  int count;
  TemplateItem* items;
} DialogTemplate;

// Reads a template; 0 when it is cut short.
static int readTemplate(Reader* r, DialogTemplate* t) {
  memset(t, 0, sizeof *t);
  size_t base = r->at;
  int extended = r->size - r->at >= 4 && r->data[r->at] == 1 && r->data[r->at + 1] == 0 &&
                 r->data[r->at + 2] == 0xFF && r->data[r->at + 3] == 0xFF;
  t->extended = extended;
  if (extended) {
    r->at += 4;
    readDword(r);  // help id
    t->exStyle = readDword(r);
    t->styleAt = r->at - base;
    t->style = readDword(r);
  } else {
    t->styleAt = 0;
    t->style = readDword(r);
    t->exStyle = readDword(r);
  }
  t->count = readWord(r);
  t->x = (short)readWord(r);
  t->y = (short)readWord(r);
  t->cx = (short)readWord(r);
  t->cy = (short)readWord(r);
  t->menu = readNameOrNumber(r);
  t->dialogClass = readNameOrNumber(r);
  t->caption = readNameOrNumber(r);
  if (t->style & DS_SETFONT) {
    t->hasFont = 1;
    t->points = readWord(r);
    if (extended) {
      t->weight = readWord(r);
      WORD italicAndCharset = readWord(r);  // one byte each
      t->italic = (BYTE)(italicAndCharset & 0xFF);
      t->charset = (BYTE)(italicAndCharset >> 8);
    }
    t->face = readNameOrNumber(r);
  }
  t->items = calloc(t->count ? t->count : 1, sizeof(TemplateItem));
  for (int i = 0; i < t->count && !r->bad; i++) {
    TemplateItem* item = &t->items[i];
    alignTo4(r, base);
    if (extended) {
      readDword(r);  // help id
      item->exStyle = readDword(r);
      item->style = readDword(r);
    } else {
      item->style = readDword(r);
      item->exStyle = readDword(r);
    }
    item->x = (short)readWord(r);
    item->y = (short)readWord(r);
    item->cx = (short)readWord(r);
    item->cy = (short)readWord(r);
    item->id = extended ? readDword(r) : readWord(r);
    item->controlClass = readNameOrNumber(r);
    item->text = readNameOrNumber(r);
    WORD extra = readWord(r);
    if (extra) {
      alignTo4(r, base);  // creation data starts on its own boundary in both forms
      r->at += extra;
    }
  }
  return !r->bad;
}

// The class a template item names by number.
static const WCHAR* predefinedClass(WORD number) {
  switch (number) {
    case 0x80:
      return L"Button";
    case 0x81:
      return L"Edit";
    case 0x82:
      return L"Static";
    case 0x83:
      return L"ListBox";
    case 0x84:
      return L"ScrollBar";
    case 0x85:
      return L"ComboBox";
  }
  return NULL;
}

// ---- stand-ins for classes the system lacks ----------------------------------------------------

// A control of a class nobody registered (an application's own, an editor component) would make
// the whole dialog fail; a plain window of that name takes its place and keeps its rectangle.
static void registerStandIn(HINSTANCE instance, const WCHAR* name, int dialogClass) {
  WNDCLASSEXW info;
  memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  if (GetClassInfoExW(instance, name, &info) || GetClassInfoExW(NULL, name, &info)) return;
  WNDCLASSEXW standIn;
  memset(&standIn, 0, sizeof standIn);
  standIn.cbSize = sizeof standIn;
  standIn.lpfnWndProc = dialogClass ? DefDlgProcW : DefWindowProcW;
  standIn.cbWndExtra = dialogClass ? DLGWINDOWEXTRA : 0;
  standIn.hInstance = instance;
  standIn.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
  standIn.lpszClassName = name;
  if (RegisterClassExW(&standIn))
    fwprintf(stderr, L"wine_layout: class %ls is a plain stand-in\n", name);
}

static void registerMissingClasses(HINSTANCE instance, const Reader* r, const DialogTemplate* t) {
  if (t->dialogClass.present && !t->dialogClass.isNumber) {
    WCHAR* name = nameText(r, &t->dialogClass);
    registerStandIn(instance, name, 1);
    free(name);
  }
  for (int i = 0; i < t->count; i++) {
    const NameOrNumber* c = &t->items[i].controlClass;
    if (!c->present || c->isNumber) continue;
    WCHAR* name = nameText(r, c);
    registerStandIn(instance, name, 0);
    free(name);
  }
}

// ---- measuring ---------------------------------------------------------------------------------

static INT_PTR CALLBACK doNothing(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  (void)dialog, (void)message, (void)w, (void)l;
  return FALSE;
}

// The text as a button or a static draws it: "&&" is one '&', a lone '&' marks the next
// character and takes no room.
static int withoutPrefixes(WCHAR* text) {
  int out = 0;
  for (int in = 0; text[in]; in++) {
    if (text[in] == L'&') {
      in++;
      if (!text[in]) break;
    }
    text[out++] = text[in];
  }
  text[out] = 0;
  return out;
}

static int sameClass(const WCHAR* a, const WCHAR* b) {
  return _wcsicmp(a, b) == 0;
}

// The control's text in its font: one line's extent, the height of the text wrapped at the
// control's width (for static texts that wrap; -1 otherwise), the width of "0" and the average
// character width.
typedef struct {
  SIZE line;
  int wrapped;
  int zero;
  int average;
} TextMeasure;

static TextMeasure measureText(HWND control, const WCHAR* className, DWORD style) {
  TextMeasure m = {{0, 0}, -1, 0, 0};
  int length = GetWindowTextLengthW(control);
  WCHAR* text = calloc(length + 2, sizeof(WCHAR));
  GetWindowTextW(control, text, length + 1);
  HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
  if (!font) font = GetStockObject(SYSTEM_FONT);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, font);
  int isStatic = sameClass(className, L"Static");
  int kind = style & SS_TYPEMASK;
  int staticText = isStatic && (kind <= SS_RIGHT || kind == SS_SIMPLE || kind == SS_LEFTNOWORDWRAP);
  int prefixes =
      (sameClass(className, L"Button") || staticText) && !(isStatic && (style & SS_NOPREFIX));
  WCHAR* drawn = _wcsdup(text);
  int drawnLength = prefixes ? withoutPrefixes(drawn) : (int)wcslen(drawn);
  TEXTMETRICW metrics;
  GetTextMetricsW(dc, &metrics);
  GetTextExtentPoint32W(dc, drawn, drawnLength, &m.line);
  if (drawnLength == 0) m.line.cy = metrics.tmHeight;  // a line's height, text or not
  if (staticText && kind <= SS_RIGHT && !(style & SS_CENTERIMAGE)) {
    RECT client;
    GetClientRect(control, &client);
    RECT box = {0, 0, client.right, 0};
    UINT format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_EDITCONTROL) format |= DT_EDITCONTROL;
    m.wrapped = length ? DrawTextW(dc, text, length, &box, format) : 0;
  }
  SIZE zero;
  GetTextExtentPoint32W(dc, L"0", 1, &zero);
  m.zero = zero.cx;
  m.average = metrics.tmAveCharWidth;
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  free(drawn);
  free(text);
  return m;
}

// Whether a child window is the one a template item asked for: the same id and, where the item
// names a class by number, that class. A class named in full matches by the id alone, since
// the system may spell it otherwise ("button" is a "Button").
static int isItemsWindow(HWND child, const TemplateItem* item, const WCHAR* className) {
  DWORD id = (DWORD)GetDlgCtrlID(child);
  if (id != item->id && (WORD)id != (WORD)item->id) return 0;
  if (!item->controlClass.present || !item->controlClass.isNumber) return 1;
  const WCHAR* known = predefinedClass(item->controlClass.number);
  return !known || sameClass(known, className);
}

static void printFontLine(HWND dialog, const Reader* r, const DialogTemplate* t) {
  printf("font\t");
  if (!t->hasFont) {
    printf("-\t-\t-\t-\t-");
  } else {
    printf("%u\t%u\t%u\t%u\t", t->points, t->weight, t->italic, t->charset);
    printName(r, &t->face);
  }
  HFONT font = (HFONT)SendMessageW(dialog, WM_GETFONT, 0, 0);
  if (!font) font = GetStockObject(SYSTEM_FONT);
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, font);
  // The face the name led to (through the system's substitutes), as the font itself names it;
  // a bitmap font has no outline to ask, and gives the name it answers to.
  WCHAR face[LF_FACESIZE] = {0};
  GetTextFaceW(dc, LF_FACESIZE, face);
  const WCHAR* used = face;
  UINT size = GetOutlineTextMetricsW(dc, 0, NULL);
  OUTLINETEXTMETRICW* outline = size ? malloc(size) : NULL;
  if (outline && GetOutlineTextMetricsW(dc, size, outline))
    used = (const WCHAR*)((const BYTE*)outline + (size_t)outline->otmpFamilyName);
  printf("\t");
  printUtf16(used, wcslen(used));
  printf("\n");
  free(outline);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
}

static void layOut(HINSTANCE instance, HWND host, const Reader* r, size_t size, int fonts) {
  DialogTemplate t;
  Reader reading = *r;
  size_t start = r->at;
  if (!readTemplate(&reading, &t)) {
    printf("error\ttemplate cut short\n");
    free(t.items);
    return;
  }
  registerMissingClasses(instance, r, &t);
  // A copy that stays hidden: the dialog is measured, never shown.
  BYTE* copy = malloc(size);
  memcpy(copy, r->data + start, size);
  DWORD style = t.style & ~WS_VISIBLE;
  memcpy(copy + t.styleAt, &style, sizeof style);
  SetLastError(0);
  HWND dialog = CreateDialogIndirectParamW(instance, (LPCDLGTEMPLATEW)copy, host, doNothing, 0);
  if (!dialog) {
    printf("error\t%lu\n", GetLastError());
    free(copy);
    free(t.items);
    return;
  }
  RECT client, units = {0, 0, 4, 8};
  GetClientRect(dialog, &client);
  MapDialogRect(dialog, &units);
  printf("client\t%ld\t%ld\t%ld\t%ld\n", client.right, client.bottom, units.right, units.bottom);
  if (fonts) printFontLine(dialog, r, &t);
  HWND child = GetWindow(dialog, GW_CHILD);
  for (int i = 0; i < t.count; i++) {
    const TemplateItem* item = &t.items[i];
    WCHAR className[256] = {0};
    if (child) GetClassNameW(child, className, 256);
    if (!child || !isItemsWindow(child, item, className)) {
      // Not created (or a window of the dialog's own came first): the item keeps its index.
      printf("%d\t%ld\tmissing\n", i, item->id > 0xFFFF ? (long)(int)item->id : (long)item->id);
      continue;
    }
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(NULL, dialog, (POINT*)&box, 2);
    DWORD childStyle = (DWORD)GetWindowLongW(child, GWL_STYLE);
    TextMeasure m = measureText(child, className, childStyle);
    printf("%d\t%d\t", i, GetDlgCtrlID(child));
    printUtf16(className, wcslen(className));
    printf("\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t", box.left, box.top, box.right - box.left,
           box.bottom - box.top, m.line.cx, m.line.cy);
    if (m.wrapped < 0)
      printf("-");
    else
      printf("%d", m.wrapped);
    printf("\t%d\t%d\t%08lx\t%d\t%d\t%d\t%d\n", m.zero, m.average, item->style, item->x, item->y,
           item->cx, item->cy);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  int extra = 0;
  for (; child; child = GetWindow(child, GW_HWNDNEXT)) extra++;
  if (extra) fprintf(stderr, "wine_layout: %d child windows beyond the template's items\n", extra);
  DestroyWindow(dialog);
  free(copy);
  free(t.items);
}

// ---- the resource file -------------------------------------------------------------------------

static BYTE* readFile(const char* path, size_t* size) {
  FILE* f = fopen(path, "rb");
  if (!f) return NULL;
  fseek(f, 0, SEEK_END);
  long length = ftell(f);
  fseek(f, 0, SEEK_SET);
  BYTE* data = malloc(length > 0 ? length : 1);
  *size = fread(data, 1, length, f);
  fclose(f);
  return data;
}

// Every resource of the file in turn: each has a header (data size, header size, type, name,
// then, on a 4-byte boundary, version, flags, language, two more numbers) and its data, padded
// to 4 bytes. The file begins with an empty resource.
static int layOutFile(HINSTANCE instance, HWND host, const char* path, int fonts) {
  size_t size = 0;
  BYTE* data = readFile(path, &size);
  if (!data) {
    fprintf(stderr, "wine_layout: cannot read %s\n", path);
    return 0;
  }
  Reader r = {data, size, 0, 0};
  int ok = 1;
  while (r.at < size) {
    size_t start = r.at;
    DWORD dataSize = readDword(&r);
    DWORD headerSize = readDword(&r);
    if (r.bad || headerSize < 16 || start + headerSize + dataSize > size) {
      fprintf(stderr, "wine_layout: %s: a resource header at %zu runs past the end\n", path, start);
      ok = 0;
      break;
    }
    NameOrNumber type = readNameOrNumber(&r);
    NameOrNumber name = readNameOrNumber(&r);
    alignTo4(&r, 0);
    readDword(&r);  // data version
    readWord(&r);   // memory flags
    WORD language = readWord(&r);
    size_t dataAt = start + headerSize;
    if (type.present && type.isNumber && type.number == 5 && dataSize > 0) {
      printf("dialog\t");
      printName(&r, &name);
      printf("\t%04x\n", language);
      Reader dialog = {data, dataAt + dataSize, dataAt, 0};
      layOut(instance, host, &dialog, dataSize, fonts);
      fflush(stdout);
    }
    r.at = dataAt + dataSize;
    alignTo4(&r, 0);
  }
  free(data);
  return ok;
}

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays "\n"
  int fonts = 0, first = 1;
  if (argc > 1 && strcmp(argv[1], "--fonts") == 0) fonts = 1, first = 2;
  if (first >= argc) {
    fprintf(stderr, "usage: wine_layout [--fonts] FILE.res...\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFFFF};  // every class there is
  InitCommonControlsEx(&controls);
  LoadLibraryW(L"riched20.dll");
  LoadLibraryW(L"msftedit.dll");
  LoadLibraryW(L"riched32.dll");
  HINSTANCE instance = GetModuleHandleW(NULL);
  HDC screen = GetDC(NULL);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(NULL, screen);
  if (dpi != 96) fprintf(stderr, "wine_layout: the screen has %d dots per inch, not 96\n", dpi);
  // The owner of every dialog, and the parent of those that are child windows (pages).
  HWND host = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 2000, 2000, NULL, NULL,
                              instance, NULL);
  int ok = 1;
  for (int i = first; i < argc; i++) ok &= layOutFile(instance, host, argv[i], fonts);
  DestroyWindow(host);
  return ok ? 0 : 1;
}
