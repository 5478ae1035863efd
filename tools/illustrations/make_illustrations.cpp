// Draws the three pictures of the Instructions window and writes them as 24-bit BMP files.
//
// The pictures are drawn rather than captured so that they can be regenerated on any machine
// that has the MinGW toolchain and Wine: no screenshot of another program is needed or kept.
// Every widget is painted with plain GDI primitives in fixed colours, because DrawFrameControl
// and friends take their colours and glyphs from the current desktop theme, which would make the
// output depend on the Wine prefix it happens to run in.

#include <windows.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Owning wrappers

template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle h) : h_(h) {
        if (!h_) throw std::runtime_error("a GDI object could not be created");
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, Handle{});
        }
        return *this;
    }
    ~Owned() { reset(); }
    Handle get() const { return h_; }

private:
    void reset() {
        if (h_) Traits::close(h_);
        h_ = Handle{};
    }
    Handle h_{};
};

struct DeleteGdiObject {
    static void close(HGDIOBJ h) { DeleteObject(h); }
};
struct DeleteMemoryDc {
    static void close(HDC h) { DeleteDC(h); }
};

using Font = Owned<HFONT, DeleteGdiObject>;
using Pen = Owned<HPEN, DeleteGdiObject>;
using Brush = Owned<HBRUSH, DeleteGdiObject>;
using Bitmap = Owned<HBITMAP, DeleteGdiObject>;
using MemoryDc = Owned<HDC, DeleteMemoryDc>;

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not null, so it gets its own wrapper.
class File {
public:
    File(const std::wstring& path, bool forWriting) {
        h_ =
            CreateFileW(path.c_str(), forWriting ? GENERIC_WRITE : GENERIC_READ,
                        forWriting ? 0 : FILE_SHARE_READ, nullptr,
                        forWriting ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot open " + std::string(path.begin(), path.end()));
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { CloseHandle(h_); }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// Puts an object into a DC for one scope and always puts the previous one back, so that the
// objects can be deleted safely afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// ---------------------------------------------------------------------------------------------
// Colours

constexpr COLORREF kGround = RGB(214, 211, 206);
constexpr COLORREF kArrow = RGB(147, 146, 144);
constexpr COLORREF kMineral = RGB(66, 105, 214);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
// The classic three-dimensional look; the face is the ground itself, as in the screenshots of
// the day, where a window's face and the page around it had the same grey.
constexpr COLORREF kFace = kGround;
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kDarkShadow = RGB(64, 64, 64);
constexpr COLORREF kCaptionLeft = RGB(10, 36, 106);
constexpr COLORREF kCaptionRight = RGB(166, 202, 240);
constexpr COLORREF kTerrain = RGB(58, 68, 30);

// The player colours of the game, in the order the editor numbers its starting locations.
constexpr std::array<COLORREF, 8> kStartColours = {
    RGB(12, 72, 204),   // blue
    RGB(44, 180, 148),  // teal
    RGB(244, 4, 4),     // red
    RGB(136, 64, 156),  // purple
    RGB(248, 140, 20),  // orange
    RGB(112, 48, 20),   // brown
    RGB(232, 236, 232), // white
    RGB(252, 252, 56),  // yellow
};

// ---------------------------------------------------------------------------------------------
// Drawing surface

RECT box(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height; // positive: bottom-up, the layout the file stores
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = Bitmap(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint8_t*>(bits);
        old_ = SelectObject(dc_.get(), bitmap_.get());
        SetBkMode(dc_.get(), TRANSPARENT);
        fill(RECT{0, 0, width, height}, kGround);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas() { SelectObject(dc_.get(), old_); }

    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    void fill(const RECT& r, COLORREF colour) const {
        Brush brush(CreateSolidBrush(colour));
        FillRect(dc_.get(), &r, brush.get());
    }
    void dot(int x, int y, COLORREF colour) const { SetPixelV(dc_.get(), x, y, colour); }

    void writeBmp(const std::wstring& path) const {
        GdiFlush();
        const DWORD stride = rowStride(width_);
        const DWORD imageSize = stride * static_cast<DWORD>(height_);
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + imageSize;
        info.biSize = sizeof(info);
        info.biWidth = width_;
        info.biHeight = height_;
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        info.biSizeImage = imageSize;
        // 96 dots per inch, the resolution the picture boxes show the pictures at.
        info.biXPelsPerMeter = 3780;
        info.biYPelsPerMeter = 3780;
        File out(path, true);
        write(out, &file, sizeof(file));
        write(out, &info, sizeof(info));
        write(out, bits_, imageSize);
    }

    static DWORD rowStride(int width) { return (static_cast<DWORD>(width) * 3 + 3) & ~3u; }

private:
    static void write(const File& out, const void* data, DWORD size) {
        DWORD written = 0;
        if (!WriteFile(out.get(), data, size, &written, nullptr) || written != size)
            throw std::runtime_error("writing a picture failed");
    }

    int width_;
    int height_;
    MemoryDc dc_;
    Bitmap bitmap_;
    const std::uint8_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// Hairlines are drawn as one-pixel rectangles: LineTo leaves out the last pixel, which makes
// bevel corners easy to get wrong.
void hline(const Canvas& c, int x0, int x1, int y, COLORREF colour) {
    c.fill(RECT{x0, y, x1, y + 1}, colour);
}
void vline(const Canvas& c, int x, int y0, int y1, COLORREF colour) {
    c.fill(RECT{x, y0, x + 1, y1}, colour);
}

// One ring of a 3D border: top and left in one colour, bottom and right in another.
void ring(const Canvas& c, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    hline(c, r.left, r.right - 1, r.top, topLeft);
    vline(c, r.left, r.top, r.bottom - 1, topLeft);
    hline(c, r.left, r.right, r.bottom - 1, bottomRight);
    vline(c, r.right - 1, r.top, r.bottom, bottomRight);
}

RECT shrink(RECT r, int by) {
    InflateRect(&r, -by, -by);
    return r;
}

// Returns the area inside the two rings.
RECT raised(const Canvas& c, const RECT& r, COLORREF face = kFace) {
    ring(c, r, kFace, kDarkShadow);
    ring(c, shrink(r, 1), kWhite, kShadow);
    RECT inner = shrink(r, 2);
    c.fill(inner, face);
    return inner;
}

RECT sunken(const Canvas& c, const RECT& r, COLORREF face = kWhite) {
    ring(c, r, kShadow, kWhite);
    ring(c, shrink(r, 1), kDarkShadow, kFace);
    RECT inner = shrink(r, 2);
    c.fill(inner, face);
    return inner;
}

// Small solid triangles for scroll and drop-down buttons, drawn row by row so that they are
// symmetric at any size.
void triangle(const Canvas& c, int centreX, int centreY, int rows, bool pointsUp, COLORREF colour) {
    const int top = centreY - rows / 2;
    for (int i = 0; i < rows; ++i) {
        const int half = pointsUp ? i : rows - 1 - i;
        hline(c, centreX - half, centreX + half + 1, top + i, colour);
    }
}

// ---------------------------------------------------------------------------------------------
// Text

std::wstring g_face; // chosen once at start; see chooseFace

Font makeFont(int pixelHeight, bool bold) {
    return Font(CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, g_face.c_str()));
}

// Wine substitutes silently when a face is missing, so the face is confirmed by asking the DC
// which one it really selected.
std::wstring chooseFace() {
    MemoryDc dc(CreateCompatibleDC(nullptr));
    for (const wchar_t* candidate : {L"Tahoma", L"DejaVu Sans"}) {
        g_face = candidate;
        Font font = makeFont(11, false);
        Selected sel(dc.get(), font.get());
        wchar_t actual[LF_FACESIZE] = {};
        GetTextFaceW(dc.get(), LF_FACESIZE, actual);
        if (lstrcmpiW(actual, candidate) == 0) return candidate;
    }
    throw std::runtime_error("neither Tahoma nor DejaVu Sans is available to Wine; install the "
                             "fonts-wine package");
}

struct Fonts {
    Font regular;
    Font bold;
    Fonts(int pixelHeight)
        : regular(makeFont(pixelHeight, false)), bold(makeFont(pixelHeight, true)) {}
    HFONT get(bool isBold) const { return isBold ? bold.get() : regular.get(); }
};

// Wine's Tahoma carries hand-tuned bitmaps for small sizes whose advances differ from the outline
// metrics that GetTextExtentPoint32W reports (an "e" at 11 pixels is drawn 6 wide but measured
// 7), so mixed runs and centred lines come out with gaps. Each glyph is therefore placed by the
// advance of the bitmap that is really drawn, which makes measuring and drawing agree.
std::vector<INT> advances(HDC dc, HFONT font, std::wstring_view text) {
    Selected sel(dc, font);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    std::vector<INT> dx;
    for (wchar_t ch : text) {
        GLYPHMETRICS gm{};
        if (GetGlyphOutlineW(dc, ch, GGO_BITMAP, &gm, 0, nullptr, &identity) != GDI_ERROR) {
            dx.push_back(gm.gmCellIncX);
        } else {
            INT width = 0;
            GetCharWidth32W(dc, ch, ch, &width);
            dx.push_back(width);
        }
    }
    return dx;
}

int textWidth(HDC dc, HFONT font, std::wstring_view text) {
    int total = 0;
    for (INT d : advances(dc, font, text))
        total += d;
    return total;
}

TEXTMETRICW metrics(HDC dc, HFONT font) {
    Selected sel(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm;
}

int lineHeight(HDC dc, HFONT font) {
    return metrics(dc, font).tmHeight;
}

// Returns the box the text occupies, for the layout checks.
RECT textAt(HDC dc, HFONT font, int x, int y, std::wstring_view text, COLORREF colour = kBlack) {
    const std::vector<INT> dx = advances(dc, font, text);
    Selected sel(dc, font);
    SetTextColor(dc, colour);
    ExtTextOutW(dc, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), dx.data());
    int width = 0;
    for (INT d : dx)
        width += d;
    return RECT{x, y, x + width, y + lineHeight(dc, font)};
}

enum class Align { Left, Centre, Right };

// One line of text in a rectangle, centred vertically; an "&" underlines the next letter as an
// access key, the way a button caption shows it.
RECT textIn(HDC dc, HFONT font, const RECT& r, std::wstring_view marked, Align align,
            COLORREF colour = kBlack) {
    std::wstring text;
    std::size_t key = std::wstring::npos;
    for (wchar_t ch : marked) {
        if (ch == L'&' && key == std::wstring::npos) {
            key = text.size();
        } else {
            text += ch;
        }
    }
    const std::vector<INT> dx = advances(dc, font, text);
    int width = 0;
    for (INT d : dx)
        width += d;
    const TEXTMETRICW tm = metrics(dc, font);
    const int x = align == Align::Left    ? r.left
                  : align == Align::Right ? r.right - width
                                          : (r.left + r.right - width) / 2;
    const int y = (r.top + r.bottom - tm.tmHeight) / 2;
    const RECT drawn = textAt(dc, font, x, y, text, colour);
    if (key < text.size()) {
        int keyLeft = x;
        for (std::size_t i = 0; i < key; ++i)
            keyLeft += dx[i];
        RECT underline{keyLeft, y + tm.tmAscent + 1, keyLeft + dx[key], y + tm.tmAscent + 2};
        Brush brush(CreateSolidBrush(colour));
        FillRect(dc, &underline, brush.get());
    }
    return drawn;
}

struct Run {
    std::wstring text;
    bool bold;
};

struct PlacedLine {
    std::vector<Run> runs;
    RECT box;
};

struct Annotation {
    std::vector<PlacedLine> lines;
};

// An asterisk switches between regular and bold, so mixed lines read naturally in the source.
std::vector<Run> parseRuns(std::wstring_view marked) {
    std::vector<Run> runs;
    bool bold = false;
    std::wstring current;
    for (wchar_t ch : marked) {
        if (ch == L'*') {
            if (!current.empty()) runs.push_back({std::move(current), bold});
            current.clear();
            bold = !bold;
        } else {
            current += ch;
        }
    }
    if (!current.empty()) runs.push_back({std::move(current), bold});
    return runs;
}

Annotation layOut(HDC dc, const Fonts& fonts, std::initializer_list<std::wstring_view> lines,
                  int centreX, int top) {
    Annotation a{};
    const int pitch =
        std::max(lineHeight(dc, fonts.regular.get()), lineHeight(dc, fonts.bold.get()));
    int y = top;
    for (std::wstring_view marked : lines) {
        PlacedLine line{parseRuns(marked), {}};
        int width = 0;
        for (const Run& run : line.runs)
            width += textWidth(dc, fonts.get(run.bold), run.text);
        const int left = centreX - width / 2;
        line.box = RECT{left, y, left + width, y + pitch};
        a.lines.push_back(std::move(line));
        y += pitch;
    }
    return a;
}

void draw(HDC dc, const Fonts& fonts, const Annotation& a) {
    for (const PlacedLine& line : a.lines) {
        int x = line.box.left;
        for (const Run& run : line.runs) {
            x = textAt(dc, fonts.get(run.bold), x, line.box.top, run.text).right;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Arrows, and the rules that keep a picture readable

struct Segment {
    POINT tail;
    POINT tip;
};

// Layout faults are gathered rather than thrown, so that one run reports all of them and still
// leaves the pictures behind to look at.
std::vector<std::string> g_problems;

// Collects what has been placed so that a layout mistake fails the build with a message instead
// of passing unnoticed as a picture with clipped or colliding annotations.
class Layout {
public:
    explicit Layout(const Canvas& c, const char* name) : canvas_(c), name_(name) {}

    void text(const Annotation& a) {
        for (const PlacedLine& line : a.lines) {
            require(inside(line.box, RECT{0, 0, canvas_.width(), canvas_.height()}),
                    "a line of text runs off the picture");
            for (const RECT& other : texts_) {
                RECT overlap;
                require(!IntersectRect(&overlap, &line.box, &other), "two lines of text overlap");
            }
        }
        for (const PlacedLine& line : a.lines)
            texts_.push_back(line.box);
    }

    // The tip must land on the thing the arrow names, and the shaft must not cross any text.
    void arrow(const Segment& s, const RECT& target) {
        require(PtInRect(&target, s.tip) != 0, "an arrow misses what it points at");
        const RECT all = full();
        require(PtInRect(&all, s.tail) != 0, "an arrow starts off the picture");
        for (const RECT& t : texts_)
            require(!crosses(s, t), "an arrow crosses a line of text");
    }

    // A widget's text must stay inside the widget.
    void within(const RECT& inner, const RECT& outer) {
        require(inside(inner, outer),
                ("text does not fit inside its control at (" + std::to_string(inner.left) + "," +
                 std::to_string(inner.top) + ")-(" + std::to_string(inner.right) + "," +
                 std::to_string(inner.bottom) + ")")
                    .c_str());
    }

private:
    RECT full() const { return RECT{0, 0, canvas_.width(), canvas_.height()}; }
    static bool inside(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
    // Sampling along the shaft is plenty at these sizes and avoids clipping arithmetic.
    static bool crosses(const Segment& s, RECT r) {
        InflateRect(&r, 2, 2);
        const int steps = 200;
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            POINT p{static_cast<LONG>(std::lround(s.tail.x + (s.tip.x - s.tail.x) * t)),
                    static_cast<LONG>(std::lround(s.tail.y + (s.tip.y - s.tail.y) * t))};
            if (PtInRect(&r, p)) return true;
        }
        return false;
    }
    void require(bool ok, const std::string& what) const {
        if (!ok) g_problems.push_back(std::string(name_) + ": " + what);
    }

    const Canvas& canvas_;
    const char* name_;
    std::vector<RECT> texts_;
};

void drawArrow(const Canvas& c, const Segment& s) {
    const double dx = s.tip.x - s.tail.x;
    const double dy = s.tip.y - s.tail.y;
    const double len = std::hypot(dx, dy);
    const double ux = dx / len;
    const double uy = dy / len;
    constexpr double headLength = 9.0;
    constexpr double headHalfWidth = 4.5;
    const double baseX = s.tip.x - ux * headLength;
    const double baseY = s.tip.y - uy * headLength;

    LOGBRUSH lb{BS_SOLID, kArrow, 0};
    // A flat cap keeps the shaft from poking out past the arrowhead's base.
    Pen shaftPen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 2, &lb, 0, nullptr));
    {
        Selected sel(c.dc(), shaftPen.get());
        MoveToEx(c.dc(), s.tail.x, s.tail.y, nullptr);
        LineTo(c.dc(), static_cast<int>(std::lround(baseX + ux)),
               static_cast<int>(std::lround(baseY + uy)));
    }
    Pen outline(CreatePen(PS_SOLID, 1, kArrow));
    Brush fill(CreateSolidBrush(kArrow));
    Selected selPen(c.dc(), outline.get());
    Selected selBrush(c.dc(), fill.get());
    const POINT head[3] = {
        s.tip,
        {static_cast<LONG>(std::lround(baseX - uy * headHalfWidth)),
         static_cast<LONG>(std::lround(baseY + ux * headHalfWidth))},
        {static_cast<LONG>(std::lround(baseX + uy * headHalfWidth)),
         static_cast<LONG>(std::lround(baseY - ux * headHalfWidth))},
    };
    Polygon(c.dc(), head, 3);
}

// Left edge of a line of an annotation, with a little air, for arrows that leave from its side.
POINT leftOf(const Annotation& a, std::size_t line, int gap = 5) {
    const RECT& b = a.lines.at(line).box;
    return POINT{b.left - gap, (b.top + b.bottom) / 2};
}
POINT rightOf(const Annotation& a, std::size_t line, int gap = 5) {
    const RECT& b = a.lines.at(line).box;
    return POINT{b.right + gap, (b.top + b.bottom) / 2};
}

// A fixed pseudo-random sequence: the pictures must come out the same on every run.
class Noise {
public:
    unsigned next(unsigned range) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % range;
    }

private:
    std::uint32_t state_ = 20030;
};

COLORREF shade(COLORREF base, int delta) {
    auto clamp = [](int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); };
    return RGB(clamp(GetRValue(base) + delta), clamp(GetGValue(base) + delta),
               clamp(GetBValue(base) + delta));
}

// ---------------------------------------------------------------------------------------------
// Widgets

void checkBox(const Canvas& c, int x, int y) {
    const RECT inner = sunken(c, box(x, y, 13, 13));
    // The classic seven-by-seven tick.
    static constexpr std::array<const char*, 7> tick = {
        "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
    };
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col)
            if (tick[row][col] == '#') c.dot(inner.left + 1 + col, inner.top + 1 + row, kBlack);
}

void radio(const Canvas& c, int x, int y, bool selected) {
    const int s = 12;
    HDC dc = c.dc();
    {
        Brush white(CreateSolidBrush(kWhite));
        Pen none(CreatePen(PS_NULL, 0, 0));
        Selected sb(dc, white.get());
        Selected sp(dc, none.get());
        Ellipse(dc, x + 1, y + 1, x + s, y + s);
    }
    // Upper-left half dark, lower-right half light: the sunken ring of a classic radio button.
    auto arcPair = [&](int inset, COLORREF upperLeft, COLORREF lowerRight) {
        const int l = x + inset, t = y + inset, r = x + s - inset, b = y + s - inset;
        Pen p1(CreatePen(PS_SOLID, 1, upperLeft));
        {
            Selected sp(dc, p1.get());
            Arc(dc, l, t, r, b, r, t, l, b);
        }
        Pen p2(CreatePen(PS_SOLID, 1, lowerRight));
        Selected sp(dc, p2.get());
        Arc(dc, l, t, r, b, l, b, r, t);
    };
    arcPair(0, kShadow, kWhite);
    arcPair(1, kDarkShadow, kFace);
    if (selected) {
        // A rounded dot: a square with its edge midpoints pushed out by one pixel.
        c.fill(box(x + 4, y + 4, 4, 4), kBlack);
        c.fill(box(x + 5, y + 3, 2, 6), kBlack);
        c.fill(box(x + 3, y + 5, 6, 2), kBlack);
    }
}

// ---------------------------------------------------------------------------------------------
// Checks on the written files

struct PixelCheck {
    int x;
    int y;
    COLORREF colour;
};

// Share of a rectangle's pixels that have exactly one colour, with the least share expected.
struct AreaCheck {
    RECT area;
    COLORREF colour;
    double minShare;
    double maxShare;
};

// Reads the file back as another program would, so that a fault in the header or in the row
// order shows up here rather than in the finished program.
void verify(const std::wstring& path, int width, int height,
            std::initializer_list<PixelCheck> pixels, std::initializer_list<AreaCheck> areas) {
    File in(path, false);
    LARGE_INTEGER fileSize{};
    GetFileSizeEx(in.get(), &fileSize);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(fileSize.QuadPart));
    DWORD got = 0;
    if (!ReadFile(in.get(), data.data(), static_cast<DWORD>(data.size()), &got, nullptr) ||
        got != data.size())
        throw std::runtime_error("cannot read a picture back");
    auto fail = [&](const std::string& what) {
        std::string name(path.begin(), path.end());
        throw std::runtime_error(name + ": " + what);
    };
    if (data.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) fail("file too short");
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::copy_n(data.data(), sizeof(file), reinterpret_cast<std::uint8_t*>(&file));
    std::copy_n(data.data() + sizeof(file), sizeof(info), reinterpret_cast<std::uint8_t*>(&info));
    const DWORD stride = Canvas::rowStride(width);
    if (file.bfType != 0x4D42) fail("not a BMP");
    if (file.bfOffBits != sizeof(file) + sizeof(info)) fail("unexpected pixel offset");
    if (file.bfSize != data.size() || data.size() != file.bfOffBits + stride * height)
        fail("file size does not match the picture size");
    if (info.biSize != sizeof(info) || info.biWidth != width || info.biHeight != height ||
        info.biPlanes != 1 || info.biBitCount != 24 || info.biCompression != BI_RGB)
        fail("header is not a bottom-up 24-bit uncompressed bitmap of the expected size");

    auto at = [&](int x, int y) {
        const std::uint8_t* p = data.data() + file.bfOffBits + stride * (height - 1 - y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    };
    for (const PixelCheck& px : pixels)
        if (at(px.x, px.y) != px.colour)
            fail("pixel (" + std::to_string(px.x) + "," + std::to_string(px.y) + ") has colour " +
                 std::to_string(at(px.x, px.y)) + ", expected " + std::to_string(px.colour));
    for (const AreaCheck& a : areas) {
        int match = 0, total = 0;
        for (int y = a.area.top; y < a.area.bottom; ++y)
            for (int x = a.area.left; x < a.area.right; ++x, ++total)
                if (at(x, y) == a.colour) ++match;
        const double share = static_cast<double>(match) / total;
        if (share < a.minShare || share > a.maxShare)
            fail("area at (" + std::to_string(a.area.left) + "," + std::to_string(a.area.top) +
                 ") has " + std::to_string(share) + " of colour " + std::to_string(a.colour));
    }
}

// ---------------------------------------------------------------------------------------------
// Stage 1: the mini-map

// The mini-map's outer frame and the features on it; the checks below reuse them.
constexpr RECT kMap{226, 5, 396, 174};
constexpr RECT kMapInside{227, 6, 395, 173};
constexpr RECT kBand{227, 40, 319, 63};
constexpr int kSquaresTop = kBand.bottom + 15;
constexpr int kSquareSize = 10;
constexpr int kSquarePitch = 12;

RECT startSquare(int i) {
    return box(kMapInside.left + 1 + i * kSquarePitch, kSquaresTop, kSquareSize, kSquareSize);
}

void drawStage1(const Canvas& c, const Fonts& fonts) {
    Noise noise;
    HDC dc = c.dc();
    ring(c, kMap, kShadow, kWhite);
    // Terrain: small darker and lighter flecks keep it from looking like a flat fill.
    for (int y = kMapInside.top; y < kMapInside.bottom; ++y)
        for (int x = kMapInside.left; x < kMapInside.right; ++x) {
            const unsigned r = noise.next(100);
            const int delta = r < 12 ? -14 : r < 22 ? 10 : static_cast<int>(noise.next(7)) - 3;
            c.dot(x, y, shade(kTerrain, delta));
        }
    c.fill(kBand, kMineral);
    for (int y = kBand.top; y < kBand.bottom; ++y)
        for (int x = kBand.left; x < kBand.right; ++x)
            if (noise.next(100) < 9) c.dot(x, y, noise.next(2) ? RGB(20, 32, 84) : RGB(8, 12, 40));
    for (int i = 0; i < 8; ++i)
        c.fill(startSquare(i), kStartColours[i]);

    Layout layout(c, "stage1");
    const int leftCentre = 102;
    const int stripMiddle = (kBand.bottom + kSquaresTop) / 2;
    const Annotation minerals = layOut(
        dc, fonts, {L"*Minerals*", L"(MUST go ABOVE starting", L"locations as pictured here)"},
        leftCentre, 9);
    // Its first line sits level with the strip it names, so that arrow runs straight across.
    const Annotation gap = layOut(dc, fonts, {L"*Empty Space Between*", L"(Required)"}, leftCentre,
                                  stripMiddle - lineHeight(dc, fonts.bold.get()) / 2);
    const Annotation starts = layOut(
        dc, fonts, {L"*Starting Locations*", L"(MUST go BELOW", L"minerals as picture here)"},
        leftCentre, 112);
    const Annotation note =
        layOut(dc, fonts,
               {L"There can be *NO* critters,", L"vespene geysers, or starting",
                L"locations to the right hand side of", L"both minerals *AND* starting",
                L"locations, as pictured here.", L"(Doodads are fine)"},
               500, 48);
    for (const Annotation* a : {&minerals, &gap, &starts, &note}) {
        layout.text(*a);
        draw(dc, fonts, *a);
    }

    const int at = kMapInside.left + 7;
    const RECT strip{kMapInside.left, kBand.bottom, kBand.right, kSquaresTop};
    const RECT squares{startSquare(0).left, kSquaresTop, startSquare(7).right,
                       kSquaresTop + kSquareSize};
    const RECT rightOfBand{kBand.right + 4, kBand.top, kMapInside.right, kBand.bottom};
    const RECT rightOfSquares{squares.right + 4, squares.top - 3, kMapInside.right,
                              squares.bottom + 3};
    const std::array<std::pair<Segment, RECT>, 5> arrows = {{
        {{rightOf(minerals, 1), {at, (kBand.top + kBand.bottom) / 2}}, kBand},
        {{rightOf(gap, 0), {at, (strip.top + strip.bottom) / 2}}, strip},
        {{rightOf(starts, 1), {at, (squares.top + squares.bottom) / 2}}, squares},
        {{leftOf(note, 0), {kBand.right + 26, (kBand.top + kBand.bottom) / 2}}, rightOfBand},
        {{leftOf(note, 3), {squares.right + 24, (squares.top + squares.bottom) / 2}},
         rightOfSquares},
    }};
    for (const auto& [segment, target] : arrows) {
        layout.arrow(segment, target);
        drawArrow(c, segment);
    }
}

// ---------------------------------------------------------------------------------------------
// Stage 2: the map tool's window

constexpr RECT kToolWindow{3, 6, 207, 220};

void drawStage2(const Canvas& c, const Fonts& fonts) {
    HDC dc = c.dc();
    Layout layout(c, "stage2");
    // The window is shown smaller than life, so its type is a size down from the notes'.
    const Font ui = makeFont(9, false);
    const Font title = makeFont(11, true);

    const RECT& window = kToolWindow;
    raised(c, window);
    const int left = window.left + 3;
    const int right = window.right - 3;

    // Title bar, shaded from dark to light blue as on the desktop of the time.
    const RECT bar{left, window.top + 3, right, window.top + 21};
    for (int x = bar.left; x < bar.right; ++x) {
        const double t = static_cast<double>(x - bar.left) / (bar.right - bar.left - 1);
        auto mix = [t](int a, int b) { return static_cast<BYTE>(std::lround(a + (b - a) * t)); };
        vline(c, x, bar.top, bar.bottom,
              RGB(mix(GetRValue(kCaptionLeft), GetRValue(kCaptionRight)),
                  mix(GetGValue(kCaptionLeft), GetGValue(kCaptionRight)),
                  mix(GetBValue(kCaptionLeft), GetBValue(kCaptionRight))));
    }
    { // The globe: a blue disc with green land and a pale meridian and equator.
        const int gx = bar.left + 2, gy = bar.top + 1;
        Brush sea(CreateSolidBrush(RGB(32, 96, 216)));
        Pen rim(CreatePen(PS_SOLID, 1, RGB(0, 32, 112)));
        Selected sb(dc, sea.get());
        Selected sp(dc, rim.get());
        Ellipse(dc, gx, gy, gx + 16, gy + 16);
        Brush land(CreateSolidBrush(RGB(40, 168, 64)));
        Pen landPen(CreatePen(PS_SOLID, 1, RGB(40, 168, 64)));
        Selected sb2(dc, land.get());
        Selected sp2(dc, landPen.get());
        Ellipse(dc, gx + 3, gy + 3, gx + 9, gy + 10);
        Ellipse(dc, gx + 8, gy + 8, gx + 13, gy + 13);
        Pen grid(CreatePen(PS_SOLID, 1, RGB(200, 224, 255)));
        Selected sp3(dc, grid.get());
        Arc(dc, gx + 4, gy + 1, gx + 12, gy + 15, gx + 8, gy + 1, gx + 8, gy + 15);
        Arc(dc, gx + 4, gy + 1, gx + 12, gy + 15, gx + 8, gy + 15, gx + 8, gy + 1);
        MoveToEx(dc, gx + 2, gy + 8, nullptr);
        LineTo(dc, gx + 15, gy + 8);
    }
    textIn(dc, title.get(), RECT{bar.left + 21, bar.top, bar.right, bar.bottom}, L"Scm Toolkit",
           Align::Left, kWhite);
    { // Minimise, maximise and close, the last one set a little apart.
        const RECT close = box(bar.right - 18, bar.top + 2, 16, 14);
        const RECT max = box(close.left - 18, close.top, 16, 14);
        const RECT min = box(max.left - 16, close.top, 16, 14);
        for (const RECT& b : {close, max, min})
            raised(c, b);
        c.fill(box(min.left + 4, min.bottom - 5, 6, 2), kBlack);
        ring(c, box(max.left + 3, max.top + 2, 9, 9), kBlack, kBlack);
        hline(c, max.left + 3, max.left + 12, max.top + 3, kBlack);
        for (int i = 0; i < 7; ++i) {
            c.fill(box(close.left + 4 + i, close.top + 3 + i, 2, 1), kBlack);
            c.fill(box(close.left + 10 - i, close.top + 3 + i, 2, 1), kBlack);
        }
    }

    // Menu bar.
    const RECT menu{left, bar.bottom + 1, right, bar.bottom + 17};
    int x = left + 6;
    for (std::wstring_view item : {L"File", L"Options...", L"Tools", L"Help"}) {
        const RECT drawn =
            textIn(dc, ui.get(), RECT{x, menu.top, menu.right, menu.bottom}, item, Align::Left);
        layout.within(drawn, menu);
        x = drawn.right + 11;
    }
    const int clientTop = menu.bottom + 1;
    hline(c, left, right, clientTop, kShadow);
    hline(c, left, right, clientTop + 1, kWhite);

    // The page selector: four lines of radio buttons, "Units" chosen.
    const std::array<std::vector<std::wstring_view>, 4> pages = {{
        {L"Scenario Properties"},
        {L"Dimension", L"Player Colors", L"Forces"},
        {L"Player Type (Staredit)", L"Tileset", L"Units"},
        {L"Player Type (Starcraft)", L"Player Race"},
    }};
    int y = clientTop + 4;
    for (const auto& line : pages) {
        x = left + 3;
        for (std::wstring_view caption : line) {
            radio(c, x, y + 1, caption == L"Units");
            const RECT drawn =
                textIn(dc, ui.get(), RECT{x + 14, y, right, y + 14}, caption, Align::Left);
            layout.within(drawn, RECT{left, y, right - 2, y + 14});
            x = drawn.right + 5;
        }
        y += 14;
    }
    const int pageTop = y + 2;
    hline(c, left + 2, right - 2, pageTop, kShadow);
    hline(c, left + 2, right - 2, pageTop + 1, kWhite);

    // The unit list's scroll bar, its thumb at the top because the list has only just been
    // scrolled to the first mineral.
    const int sbWidth = 15;
    const RECT scroll{right - 2 - sbWidth, pageTop + 4, right - 2, window.bottom - 5};
    for (int yy = scroll.top; yy < scroll.bottom; ++yy)
        for (int xx = scroll.left; xx < scroll.right; ++xx)
            c.dot(xx, yy, ((xx + yy) & 1) ? kWhite : kFace);
    const RECT up = box(scroll.left, scroll.top, sbWidth, sbWidth);
    const RECT down = box(scroll.left, scroll.bottom - sbWidth, sbWidth, sbWidth);
    const RECT thumb = box(scroll.left, up.bottom, sbWidth, 12);
    for (const RECT& b : {up, down, thumb})
        raised(c, b);
    triangle(c, (up.left + up.right) / 2, (up.top + up.bottom) / 2, 4, true, kBlack);
    triangle(c, (down.left + down.right) / 2, (down.top + down.bottom) / 2, 4, false, kBlack);
    const RECT page{left + 2, pageTop + 2, scroll.left - 4, window.bottom - 3};

    // The unit's fields.
    auto field = [&](const RECT& r, std::wstring_view value, Align align) {
        RECT inside = sunken(c, r);
        InflateRect(&inside, -2, 0);
        layout.within(textIn(dc, ui.get(), inside, value, align), inside);
    };
    auto label = [&](int lx, int ly, std::wstring_view text) {
        layout.within(textIn(dc, ui.get(), RECT{lx, ly, page.right, ly + 17}, text, Align::Left),
                      page);
    };
    const int fieldLeft = left + 48;
    const int fieldWidth = 32;
    y = pageTop + 4;
    for (int i = 0; i < 2; ++i) {
        const int fx = fieldLeft + i * (fieldWidth + 6);
        textIn(dc, ui.get(), RECT{fx, y, fx + fieldWidth, y + 12}, i == 0 ? L"X" : L"Y",
               Align::Centre);
    }
    y += 13;
    label(left + 5, y, L"Position");
    field(box(fieldLeft, y, fieldWidth, 17), L"64", Align::Centre);
    field(box(fieldLeft + fieldWidth + 6, y, fieldWidth, 17), L"80", Align::Centre);
    layout.within(
        textIn(dc, ui.get(), RECT{page.right - 24, y, page.right - 2, y + 17}, L"14", Align::Right),
        page);
    y += 23;
    label(left + 5, y - 3, L"Unit Type");
    y += 13;
    {
        const RECT combo = box(left + 5, y, page.right - 2 - (left + 5), 18);
        RECT inside = sunken(c, combo);
        const RECT button = box(inside.right - 14, inside.top, 14, inside.bottom - inside.top);
        raised(c, button);
        triangle(c, (button.left + button.right) / 2, (button.top + button.bottom) / 2, 4, false,
                 kBlack);
        inside.left += 2;
        inside.right = button.left;
        layout.within(textIn(dc, ui.get(), inside, L"Mineral Field (Type 2)", Align::Left), inside);
    }
    y += 26;
    label(left + 5, y, L"Player owning unit");
    field(box(left + 100, y, fieldWidth, 17), L"11", Align::Centre);

    // Notes to the right of the window.
    const int noteCentre = (window.right + c.width()) / 2;
    const Annotation top = layOut(dc, fonts,
                                  {L"When the first mineral that is to be stacked",
                                   L"is reached, *STOP* there.  Ensure that the",
                                   L"position slider is the active object (be sure its slowly",
                                   L"blinking) then switch back over to the tolvane"},
                                  noteCentre, 5);
    const Annotation middle = layOut(dc, fonts,
                                     {L"*Note:* The position slider is the little thin bar",
                                      L"that lets you know how far you are down the list. The",
                                      L"arrow to the left is pointing to the position slider"},
                                     noteCentre, 100);
    const Annotation bottom = layOut(
        dc, fonts, {L"Scroll down the list, by clicking the", L"\"down\" arrow on this scrollbar"},
        noteCentre + 12, 188);
    for (const Annotation* a : {&top, &middle, &bottom}) {
        layout.text(*a);
        draw(dc, fonts, *a);
    }
    const std::array<std::pair<Segment, RECT>, 2> arrows = {{
        {{leftOf(top, 3), {thumb.right - 4, (thumb.top + thumb.bottom) / 2}}, thumb},
        {{leftOf(bottom, 0, 6), {down.right - 4, (down.top + down.bottom) / 2}}, down},
    }};
    for (const auto& [segment, target] : arrows) {
        layout.arrow(segment, target);
        drawArrow(c, segment);
    }
}

// ---------------------------------------------------------------------------------------------
// Stage 3: the lower right of the main window

// The crop ends with the window's right frame; everything right of it is the note.
constexpr int kFrameRight = 243;

void drawStage3(const Canvas& c, const Fonts& fonts) {
    HDC dc = c.dc();
    Layout layout(c, "stage3");
    // The main window's 8.25 pt type is 11 pixels at 96 dots per inch. Its 9.75 pt type would be
    // 13, but Wine's Tahoma draws 13 pixels from its regular bitmaps even when bold is asked for,
    // so 12 stands in.
    const Font small = makeFont(11, false);
    const Font large = makeFont(12, false);
    const Font largeBold = makeFont(12, true);

    // Only the right and bottom sides of the frame fall inside the crop.
    const int frameBottom = c.height();
    const RECT client{0, 0, kFrameRight - 4, frameBottom - 4};
    vline(c, kFrameRight - 1, 0, frameBottom, kDarkShadow);
    hline(c, 0, kFrameRight, frameBottom - 1, kDarkShadow);
    vline(c, kFrameRight - 2, 0, frameBottom - 1, kShadow);
    hline(c, 0, kFrameRight - 1, frameBottom - 2, kShadow);

    // Across, the places follow the real window: the labels 16 pixels and the coordinate boxes
    // 128 and 168 pixels right of the check box. Down, the rows stand a little closer than in
    // the window so that both rows, the button and the credit line fit the picture's height.
    const int checkLeft = 6;
    struct Row {
        const wchar_t* player;
        std::array<const wchar_t*, 4> values;
    };
    const std::array<Row, 2> rows = {{
        {L"Player 6", {L"96", L"105", L"96", L"107"}},
        {L"Player 8", {L"45", L"25", L"45", L"27"}},
    }};
    int rowTop = 6;
    for (const Row& row : rows) {
        checkBox(c, checkLeft, rowTop);
        layout.within(textIn(dc, largeBold.get(),
                             RECT{checkLeft + 18, rowTop - 4, client.right, rowTop + 17},
                             row.player, Align::Left),
                      client);
        const std::array<const wchar_t*, 2> labels = {L"Mineral Patch", L"Starting Location"};
        for (int pair = 0; pair < 2; ++pair) {
            const int top = rowTop + 18 + pair * 24;
            const RECT labelBox{checkLeft + 16, top + 1, checkLeft + 16 + 105, top + 18};
            layout.within(textIn(dc, small.get(), labelBox, labels[pair], Align::Left), labelBox);
            for (int col = 0; col < 2; ++col) {
                const RECT inside = sunken(c, box(checkLeft + 128 + col * 40, top, 33, 19));
                layout.within(
                    textIn(dc, small.get(), inside, row.values[pair * 2 + col], Align::Centre),
                    inside);
            }
        }
        rowTop += 68;
    }

    // The push button runs on far to the left of the crop; its caption is centred on the whole
    // button, which brings it near the crop's left edge, as in the window.
    const int buttonRight = client.right - 2;
    const int captionCentre = 78;
    const RECT button{2 * captionCentre - buttonRight, rowTop - 2, buttonRight, rowTop + 33};
    ring(c, button, kWhite, kDarkShadow);
    ring(c, shrink(button, 1), kFace, kShadow);
    layout.within(textIn(dc, large.get(), button, L"&Stack It!", Align::Centre), client);

    const RECT credit{client.left - 40, client.bottom - 17, client.right - 10, client.bottom};
    textIn(dc, small.get(), credit, L"Report Bugs To:  tolvane@example.org", Align::Right);

    const Annotation note =
        layOut(dc, fonts,
               {L"*Click Stack It!*", L"When you have filled in all the positions for minerals",
                L"and starting locations and specified the number of",
                L"players that you map will hold, click here"},
               (kFrameRight + c.width()) / 2, 40);
    layout.text(note);
    draw(dc, fonts, note);
    const RECT& last = note.lines.back().box;
    const Segment arrow{{(last.left + last.right) / 2 - 20, last.bottom + 5},
                        {button.right - 24, (button.top + button.bottom) / 2}};
    layout.arrow(arrow, RECT{client.left, button.top, button.right, button.bottom});
    drawArrow(c, arrow);
}

// ---------------------------------------------------------------------------------------------

std::wstring join(const std::wstring& dir, const wchar_t* name) {
    if (dir.empty()) return name;
    const wchar_t last = dir.back();
    return (last == L'/' || last == L'\\') ? dir + name : dir + L"\\" + name;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const std::wstring outDir = argc > 1 ? argv[1] : L".";
        const std::wstring face = chooseFace();
        const Fonts notes(11);

        struct Picture {
            const wchar_t* name;
            int width;
            int height;
            void (*draw)(const Canvas&, const Fonts&);
        };
        const std::array<Picture, 3> pictures = {{
            {L"stage1.bmp", 600, 181, drawStage1},
            {L"stage2.bmp", 528, 227, drawStage2},
            {L"stage3.bmp", 518, 197, drawStage3},
        }};
        for (const Picture& p : pictures) {
            Canvas canvas(p.width, p.height);
            p.draw(canvas, notes);
            canvas.writeBmp(join(outDir, p.name));
        }

        // Colours at places the layout fixes, and shares of colour where texture or text makes
        // single pixels unpredictable: enough to catch a wrong size, a flipped or shifted image,
        // a missing font (no black in the note areas) or a lost arrow (no arrow grey).
        verify(join(outDir, L"stage1.bmp"), 600, 181,
               {{0, 0, kGround},
                {599, 180, kGround},
                {kMap.left, kMap.top, kShadow},
                {kMap.right - 1, kMap.bottom - 1, kWhite},
                {startSquare(1).left + 5, startSquare(1).top + 5, kStartColours[1]},
                {startSquare(2).left + 5, startSquare(2).top + 5, kStartColours[2]},
                {startSquare(7).left + 5, startSquare(7).top + 5, kStartColours[7]}},
               {{kBand, kMineral, 0.75, 0.97},
                {RECT{0, 0, kMap.left, 181}, kBlack, 0.02, 0.3},
                {RECT{0, 0, kMap.left, 181}, kArrow, 0.005, 0.1},
                {RECT{kMap.right, 0, 600, 181}, kBlack, 0.02, 0.3},
                {RECT{kMap.right, 0, 600, 181}, kArrow, 0.002, 0.1}});
        verify(join(outDir, L"stage2.bmp"), 528, 227,
               {{0, 0, kGround},
                {527, 226, kGround},
                {kToolWindow.left, kToolWindow.top, kFace},
                {kToolWindow.right - 1, kToolWindow.bottom - 1, kDarkShadow},
                {kToolWindow.left + 3, kToolWindow.top + 19, kCaptionLeft}},
               {{RECT{kToolWindow.right + 2, 0, 528, 227}, kBlack, 0.02, 0.3},
                {RECT{kToolWindow.right, 0, 528, 227}, kArrow, 0.002, 0.1},
                {RECT{kToolWindow.left + 3, kToolWindow.top + 60, kToolWindow.right - 3,
                      kToolWindow.bottom - 3},
                 kWhite, 0.05, 0.5}});
        verify(join(outDir, L"stage3.bmp"), 518, 197,
               {{517, 0, kGround},
                {kFrameRight - 1, 100, kDarkShadow},
                {100, 196, kDarkShadow},
                {kFrameRight - 2, 100, kShadow}},
               {{RECT{kFrameRight, 0, 518, 197}, kBlack, 0.02, 0.3},
                {RECT{kFrameRight, 0, 518, 197}, kArrow, 0.002, 0.1},
                {RECT{0, 0, kFrameRight - 4, 150}, kWhite, 0.05, 0.5}});

        if (!g_problems.empty()) {
            for (const std::string& p : g_problems)
                std::fprintf(stderr, "make_illustrations: %s\n", p.c_str());
            return 1;
        }
        std::wprintf(L"wrote stage1.bmp, stage2.bmp, stage3.bmp in %ls with face %ls\n",
                     outDir.c_str(), face.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_illustrations: %s\n", e.what());
        return 1;
    }
}
