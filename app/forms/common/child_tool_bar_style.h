#pragma once
// The style (0 raised, 1 flat) a child window gives its tool bar when it
// loads: flat unless "ButtonStyle" asks for raised buttons; then by
// "ApplyStyle": 0 raised, 1 and 2 flat, 3 raised, any other value keeps the
// designed style.

namespace forms {

constexpr int ChildToolBarStyle(int buttonStyle, int applyStyle, int designed) {
    if (buttonStyle != 1) return 1;
    switch (applyStyle) {
        case 0:
        case 3:
            return 0;
        case 1:
        case 2:
            return 1;
        default:
            return designed;
    }
}

}  // namespace forms
