// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// How the windows read on the accessibility bus, the way a screen reader such as Orca
// meets them.

namespace ui {

// Makes every top-level window built on a plain QWidget report itself as a window (Qt
// reports such a window as a bare client area), and lets a label that carries a name of its
// own, such as a box of the results grid, keep its text as its value. Call once, after the
// application object exists.
void installAccessibility();

}  // namespace ui
