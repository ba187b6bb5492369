#include "ui/InputFilter.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QValidator>
#include <algorithm>

namespace ui {

namespace {

// Turns the box's text upper case as it is typed or pasted, keeping the cursor where it was.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        const QString upper = input.toUpper();
        if (upper != input) {
            pos = int(input.left(pos).toUpper().size());
            input = upper;
        }
        return Acceptable;
    }
    void fixup(QString& input) const override { input = input.toUpper(); }
};

}  // namespace

void filter(QLineEdit* box, InputRule rule) {
    QObject::connect(box, &QLineEdit::textChanged, box, [box, rule = std::move(rule)] {
        const QString text = box->text();
        if (text.isEmpty() || rule(text))
            return;
        box->clear();
        box->setFocus();
    });
}

void forceUpperCase(QLineEdit* box) {
    box->setValidator(new UpperCaseValidator(box));
}

void commaAsPoint(QLineEdit* box) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box](const QString& text) {
        if (!text.contains(QLatin1Char(',')))
            return;
        const int cursor = box->cursorPosition();
        box->setText(QString(text).replace(QLatin1Char(','), QLatin1Char('.')));
        box->setCursorPosition(cursor);
    });
}

void capLength(QLineEdit* box, int columnSize) {
    box->setMaxLength(columnSize);
}

void capLength(QPlainTextEdit* memo, int columnSize) {
    QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [memo, columnSize] {
        const QString text = memo->toPlainText();
        if (text.size() <= columnSize)
            return;
        const int position = std::min(memo->textCursor().position(), columnSize);
        memo->setPlainText(text.left(columnSize));
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(position);
        memo->setTextCursor(cursor);
    });
}

}  // namespace ui
