#pragma once

#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace ui {

// What a box accepts after each change (the rules of core/InputRules.h fit).
using InputRule = std::function<bool(const QString& text)>;

// On every change of the box's text, typed or set by the program: a non-empty text that fails
// the rule empties the box, which keeps the focus. An empty box is left alone. Connect the
// filter before other textChanged handlers, and let those read box->text(): emptying the box
// runs them with "" before they see the refused text.
void filter(QLineEdit* box, InputRule rule);
// Every character typed or pasted into the box becomes upper case before the box changes, so
// filters see upper-case text only. This is the box's validator: do not set another one.
void forceUpperCase(QLineEdit* box);
// Every "," typed or pasted into the box becomes a ".", the cursor staying where it was.
void commaAsPoint(QLineEdit* box);
// The box takes no more characters than the column it feeds holds.
void capLength(QLineEdit* box, int columnSize);
// A memo likewise: what goes beyond the size (line breaks count) is dropped as it is typed or
// pasted.
void capLength(QPlainTextEdit* memo, int columnSize);

}  // namespace ui
