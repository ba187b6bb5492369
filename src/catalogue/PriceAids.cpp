#include "catalogue/PriceAids.h"

#include "core/Format.h"
#include "core/InputRules.h"
#include "db/procedures/SaleReads.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>
#include <stdexcept>

namespace catalogue::prices {

namespace {

void write(QLineEdit* box, double value) {
    box->setText(core::fmt::shortest(value));
}

}  // namespace

void PriceBoxes::filter() {
    for (QLineEdit* box : {cost_, profit_, sale_})
        ui::filter(box, core::isPriceText);
    ui::filter(quantity_, core::isDigitsOnly);
}

void PriceBoxes::points(QLineEdit* box) {
    const QString shown = core::withDecimalPoints(box->text());
    if (shown != box->text())
        box->setText(shown);
}

double PriceBoxes::number(const QLineEdit* box) {
    bool ok = false;
    const double value = box->text().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw std::invalid_argument("not a number: " + box->text().toStdString());
    return value;
}

bool PriceBoxes::holdsText(const QLineEdit* box) {
    return !box->text().trimmed().isEmpty();
}

void PriceBoxes::addTax(double rate) {
    write(cost_, number(cost_) * (rate / 100 + 1));
    ui::setTextColour(cost_, ui::palette::red);
    QFont bold = cost_->font();
    bold.setBold(true);
    cost_->setFont(bold);
}

void PriceBoxes::costPerUnit() {
    if (!holdsText(quantity_))
        return;
    const double quantity = number(quantity_);
    if (quantity == 0)
        return;
    cost_->setText(core::fmt::twoDecimals(number(cost_) / quantity));
}

void PriceBoxes::costFromSale() {
    if (!holdsText(profit_) || !holdsText(sale_) || holdsText(cost_))
        return;
    const double profit = number(profit_);
    if (profit + 100 == 0)
        return;
    write(cost_, number(sale_) * 100 / (profit + 100));
}

void PriceBoxes::saleFromProfit() {
    if (!holdsText(profit_) || !holdsText(cost_) || holdsText(sale_))
        return;
    write(sale_, (number(profit_) / 100 + 1) * number(cost_));
}

void PriceBoxes::profitFromSale(bool twoDecimals) {
    const double cost = number(cost_);
    const double sale = number(sale_);
    if (cost == 0) {
        profit_->clear();
        return;
    }
    const double profit = (sale / cost - 1) * 100;
    profit_->setText(twoDecimals ? core::fmt::twoDecimals(profit) : core::fmt::shortest(profit));
}

CapitalAid::CapitalAid(QWidget* box, char last) : QObject(box), last_(last) {
    box->installEventFilter(this);
}

bool CapitalAid::atWordStart(QObject* box) const {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        const QString text = line->text();
        const int at = line->cursorPosition();
        return text.isEmpty() || line->selectedText() == text ||
               (at > 0 && text.at(at - 1) == QLatin1Char(' '));
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(box)) {
        const QString text = memo->toPlainText();
        const QTextCursor cursor = memo->textCursor();
        const int at = cursor.position();
        return text.isEmpty() || cursor.selectedText() == text ||
               (at > 0 && text.at(at - 1) == QLatin1Char(' '));
    }
    return false;
}

bool CapitalAid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const QString typed = key->text();
    if (typed.size() != 1 || typed.at(0) < QLatin1Char('a') || typed.at(0) > QLatin1Char(last_) ||
        !atWordStart(watched))
        return false;
    const QString upper = typed.toUpper();
    QKeyEvent capital(QEvent::KeyPress, Qt::Key_A + (typed.at(0).unicode() - 'a'),
                      key->modifiers() | Qt::ShiftModifier, upper, key->isAutoRepeat(),
                      ushort(key->count()));
    watched->removeEventFilter(this);
    QCoreApplication::sendEvent(watched, &capital);
    watched->installEventFilter(this);
    return true;
}

const QString kPriceRefused = QStringLiteral(
    "INGRESO ERRONEO\rPRECIO DE COSTO NUNCA\rPUEDE SER MAYOR QUE\rEL PRECIO DE VENTA...");
const QString kUserError = QStringLiteral("NO SE LLEVO A CABO EL INGRESO, ERROR DEL USUARIO");
const QString kChooseLine =
    QStringLiteral("DEBE ELEGIR SI EL PRODUCTO ES GENERICO O COMERCIAL\rINTENTELO NUEVAMENTE...");
const QString kPointForComma = QStringLiteral("CAMBIE EL PUNTO POR LA COMA...");

double igvRate(db::Db& db) {
    const std::optional<db::proc::Igv> igv = db::proc::currentIgv(db);
    return igv && igv->IgvValor ? *igv->IgvValor : 0;
}

core::Money moneyOf(const QLineEdit* box) {
    const std::optional<core::Money> value = core::Money::parse(box->text());
    if (!value)
        throw std::invalid_argument("not an amount: " + box->text().toStdString());
    return *value;
}

bool isLine(const QString& text) {
    return text == QLatin1String("GENERICO") || text == QLatin1String("COMERCIAL");
}

int integerOf(const QLineEdit* box, int max) {
    const QString text = box->text().trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok || value < 0 || value > max)
        throw std::out_of_range("integer box beyond its column: " + text.toStdString());
    return int(value);
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString normaliseType(QString text, bool inf) {
    static const std::pair<QChar, QChar> vowels[] = {{QChar(0xE1), QLatin1Char('a')},
                                                     {QChar(0xE9), QLatin1Char('e')},
                                                     {QChar(0xED), QLatin1Char('i')},
                                                     {QChar(0xF3), QLatin1Char('o')},
                                                     {QChar(0xFA), QLatin1Char('u')}};
    for (const auto& [accented, plain] : vowels)
        text.replace(accented, plain);
    for (char c = 'a'; c <= 'v'; ++c)
        text.replace(QStringLiteral(" ") + QLatin1Char(c),
                     QStringLiteral(" ") + QChar::fromLatin1(c).toUpper());
    for (const int run : {2, 3, 4})
        text.replace(QString(run, QLatin1Char(' ')), QStringLiteral(" "));
    if (inf)
        text.replace(QStringLiteral("(inf)"), QStringLiteral("(INF)"));
    return text;
}

}  // namespace catalogue::prices
