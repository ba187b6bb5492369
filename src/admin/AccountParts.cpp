#include "admin/AccountParts.h"

#include "core/InputRules.h"
#include "ui/FormHelpers.h"
#include "ui/InputFilter.h"

#include <QComboBox>
#include <QLineEdit>

namespace admin::parts {

QLineEdit* box(QWidget* parent, const char* name, int size) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    ui::forceUpperCase(b);
    if (size > 0)
        ui::capLength(b, size);
    return b;
}

QLineEdit* passwordBox(QWidget* parent, const char* name, int size) {
    QLineEdit* b = box(parent, name, size);
    ui::hashEcho(b);
    return b;
}

QLineEdit* digitsBox(QWidget* parent, const char* name, int digits) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    ui::filter(b, core::endsWithDigit);
    ui::capLength(b, digits);
    return b;
}

QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, const QString& text,
                  int size) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    ui::forceUpperCase(c->lineEdit());
    ui::capLength(c->lineEdit(), size);
    c->setEditText(text);
    return c;
}

void moveOnEnter(QWidget* from, QWidget* to) {
    auto* combo = qobject_cast<QComboBox*>(from);
    auto* edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(from);
    if (edit)
        QObject::connect(edit, &QLineEdit::returnPressed, to, [to] { to->setFocus(); });
}

}  // namespace admin::parts
