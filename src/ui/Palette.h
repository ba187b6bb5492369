#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

// The named colours of the program's windows. The fixed ones carry the values of the classic
// desktop colour names they are known by; the highlight colours follow the desktop's palette.
namespace ui::palette {

// Basic colour names.
inline constexpr QColor black{0x00, 0x00, 0x00};
inline constexpr QColor white{0xFF, 0xFF, 0xFF};
inline constexpr QColor red{0xFF, 0x00, 0x00};     // clRed
inline constexpr QColor blue{0x00, 0x00, 0xFF};    // clBlue
inline constexpr QColor lime{0x00, 0xFF, 0x00};    // clLime: status texts on black
inline constexpr QColor green{0x00, 0x80, 0x00};   // clGreen: brand names
inline constexpr QColor navy{0x00, 0x00, 0x80};    // clNavy: login window, product names
inline constexpr QColor maroon{0x80, 0x00, 0x00};  // clMaroon: the inactive mark
inline constexpr QColor grey{0x80, 0x80, 0x80};    // clGray: code columns
inline constexpr QColor silver{0xC0, 0xC0, 0xC0};  // clSilver: a grid that has the focus
inline constexpr QColor aqua{0x00, 0xFF, 0xFF};    // clAqua

// Extended colour names.
inline constexpr QColor skyBlue{0xA6, 0xCA, 0xF0};     // clSkyBlue: columns a search filters on
inline constexpr QColor moneyGreen{0xC0, 0xDC, 0xC0};  // clMoneyGreen
inline constexpr QColor cream{0xFF, 0xFB, 0xF0};       // clCream: message text boxes

// System colour names, with their usual desktop values.
// clInfoBk: the tooltip (info) background, for boxes and columns to notice.
inline constexpr QColor infoBackground{0xFF, 0xFF, 0xE1};
// clAppWorkSpace: the background of an MDI parent's client area.
inline constexpr QColor applicationWorkspace{0xAB, 0xAB, 0xAB};
// clBackground: the desktop colour, behind the daily boleta total.
inline constexpr QColor desktop{0x00, 0x00, 0x00};
// clGradientActiveCaption: the active-caption gradient, a stock panel that may change.
inline constexpr QColor activeCaptionGradient{0xB9, 0xD1, 0xEA};

// clHighlight and clHighlightText: the selection colours of the desktop's palette.
inline QColor highlight() {
    return QGuiApplication::palette().color(QPalette::Highlight);
}
inline QColor highlightText() {
    return QGuiApplication::palette().color(QPalette::HighlightedText);
}

}  // namespace ui::palette
