#pragma once
// The Options page's panels: one tree node, frame and help topic each,
// numbered 1 (StartUp) to 6 (About) alike in all three.
#include <QString>
#include <array>

namespace forms {

// The node texts, which are also the panels' titles, in tree order.
inline const std::array<QString, 6> kOptionsPanelNames{
    QStringLiteral("StartUp"),      QStringLiteral("Auto Check"),    QStringLiteral("Defaults"),
    QStringLiteral("Menu Colours"), QStringLiteral("Miscellaneous"), QStringLiteral("About")};

}  // namespace forms
