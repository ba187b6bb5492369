#pragma once

#include <QByteArray>
#include <QString>

namespace core {

// The text in Windows-1252, the single-byte code page of the tax authority's tool: Latin-1 plus
// the 27 characters that code page puts at 0x80 to 0x9F ("€" 0x80, "…" 0x85, "–" 0x96, the
// curly quotes...). A character it cannot hold (and the C1 controls) becomes "?".
QByteArray toWindows1252(const QString& text);

}  // namespace core
