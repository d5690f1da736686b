// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two windows' layouts as data, free of any toolkit: every control with its place and
// size in twips, its text, face size, look, tab order and accessible name. Both the Qt
// windows and the Windows windows are built from these tables.

#include <optional>
#include <span>
#include <string_view>

namespace layout {

// 1440 to the inch, from the top-left corner of the window's client area.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// 15 twips are one pixel at 96 dots per inch; at another DPI, twips * dpi / 1440.
int twipsToPixels(int twips, int dpi = 96);

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kRed{255, 0, 0};
inline constexpr Colour kBlue{0, 0, 255};

enum class Kind {
    Label,    // opaque, text at the top, left-aligned or centred, cut off at its edges
    TextBox,  // a single-line box with a white background
    Button,
    Picture,
    Sound,  // the sound control, never seen
};

enum class Picture {
    None,
    Crest,   // crest.jpg, at its natural size
    Logo,    // logo.jpg
    Mascot,  // mascot.jpg
    Praise,  // praise.jpg
};

// "ＭＳ Ｐゴシック" first; the others where it is missing.
inline constexpr std::u16string_view kFace = u"ＭＳ Ｐゴシック";

struct Control {
    std::u16string_view name;  // "Label(5)", "Text1(0)", "m(3)", "Command1"
    Kind kind = Kind::Label;
    TwipsRect rect;
    std::u16string_view text;  // the text at creation
    int fontPixels = 0;        // the face's size in pixels at 96 DPI (points * 4 / 3)
    bool bold = false;
    bool centred = false;
    bool boxed = false;                // a thin single line on all four sides
    std::optional<Colour> background;  // none: the window's face colour
    std::optional<Colour> foreground;  // none: the system's button-text colour
    Picture picture = Picture::None;
    bool stretched = false;              // a picture stretched to the control, else at natural size
    bool visible = true;                 // at creation
    int tabOrder = -1;                   // 0, 1, ... for the controls that take the focus, else -1
    std::u16string_view accessibleName;  // empty: the text is the name
};

struct Window {
    std::u16string_view name;     // "Form1"
    std::u16string_view caption;  // the title bar
    TwipsRect client;             // the client area as it opens, from the screen's corner
    std::span<const Control> controls;
    int fontPixels = 0;  // the window's own face; 0: the system's. Each text control has its own

    // The control of that name; nullptr when there is none.
    const Control* find(std::u16string_view controlName) const;

    // The Windows control identifier of the control of that name: 1000 plus its place in
    // controls; -1 when there is none.
    int controlId(std::u16string_view controlName) const;
};

inline constexpr int kFirstControlId = 1000;

// The drill window.
const Window& form1();
// The results window.
const Window& form2();

// What a picture shows, as a screen reader says it.
std::u16string_view pictureName(Picture picture);

}  // namespace layout
