#pragma once
// The 52 controls of the worksheet, described once as data. The window is built from
// this table and from nothing else.
#include <array>
#include <cstdint>
#include <optional>

namespace tf {

// The worksheet's drop-down lists are of two kinds: the jurisdiction list, the one the user
// works with, and the fifteen component lists, which only show the figure chosen for them.
enum class ControlKind { Label, TextBox, PushButton, StateList, ComponentList };
enum class TextAlign { Left, Centre, Right };
enum class VerticalAlign { Top, Centre, Bottom };

struct Rgb {
    std::uint8_t r, g, b;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// A font of the Verdana family. `windowFont` marks controls that use the window's font.
struct FontSpec {
    double points;
    bool bold;
    bool windowFont;
};

inline constexpr FontSpec kWindowFont{9.75, false, true};
inline constexpr Rgb kWindowBackground{136, 255, 255};
inline constexpr int kClientWidthTwips = 11895;
inline constexpr int kClientHeightTwips = 9495;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr const char* kWindowCaption = "Cost Estimate Worksheet";

struct ControlSpec {
    const char* name;
    ControlKind kind;
    const char* text;     // shown text or caption, exactly as the user sees it ("" for none)
    const char* tooltip;  // nullptr for none
    int left, top, width, height;  // twips, from the client area's top-left corner
    int tab;                       // place in the tab order, 0..51
    FontSpec font;
    std::optional<Rgb> foreground;  // text colour; none: the desktop's default
    std::optional<Rgb> background;  // none: the desktop's default (labels: transparent)
    TextAlign align;
    bool enabled;
    bool visible;
    const char* accessibleName;  // for screen readers; nullptr: the shown text speaks for itself
    bool wraps = false;          // a label whose text breaks at spaces within its width
    VerticalAlign valign = VerticalAlign::Centre;
};

inline constexpr int kControlCount = 52;
extern const std::array<ControlSpec, kControlCount> kControls;

// Twips to device-independent pixels.
constexpr int toPixels(int twips) { return twips / kTwipsPerPixel; }

}  // namespace tf
