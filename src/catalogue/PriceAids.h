#pragma once

#include "core/Money.h"

#include <QObject>
#include <QString>
#include <optional>

class QLineEdit;
namespace db {
class Db;
}
class QWidget;

// What the presentation windows share: the price boxes' aids, the capitalising aid and the type
// text's normalisation.
namespace catalogue::prices {

// The four price boxes of a presentation window. Every computed value is written back in the
// shortest form (15 significant digits) unless told otherwise. An aid whose divisor is zero
// (a cost of 0, a quantity of 0, a profit of -100) changes nothing.
class PriceBoxes {
public:
    PriceBoxes() = default;
    PriceBoxes(QLineEdit* cost, QLineEdit* quantity, QLineEdit* profit, QLineEdit* sale)
        : cost_(cost), quantity_(quantity), profit_(profit), sale_(sale) {}

    // Puts the filters on the boxes: the prices and the profit take digits, "," and ".", the
    // quantity digits only.
    void filter();

    // Every "," of the box becomes "." and the box shows it.
    static void points(QLineEdit* box);
    // The trimmed text of the box as a number; throws std::invalid_argument when it is not one.
    static double number(const QLineEdit* box);
    static bool holdsText(const QLineEdit* box);

    // Cost := cost x (rate / 100 + 1), shown in bold red.
    void addTax(double rate);
    // Cost := cost / quantity with two decimals, when the quantity holds text.
    void costPerUnit();
    // Cost := (sale x 100) / (profit + 100), when profit and sale hold text and cost is empty.
    void costFromSale();
    // Sale := (profit / 100 + 1) x cost, when profit and cost hold text and sale is empty.
    void saleFromProfit();
    // Profit := (sale / cost - 1) x 100, shortest or with two decimals.
    void profitFromSale(bool twoDecimals);

private:
    QLineEdit* cost_ = nullptr;
    QLineEdit* quantity_ = nullptr;
    QLineEdit* profit_ = nullptr;
    QLineEdit* sale_ = nullptr;
};

// The capitalising aid: a lower-case letter from "a" to `last` typed into an empty box, over
// its whole selected text or right after a space becomes upper case. Watches line edits and
// memos.
class CapitalAid : public QObject {
public:
    CapitalAid(QWidget* box, char last);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool atWordStart(QObject* box) const;
    char last_;
};

// A type text as saved: the accented lower-case vowels plain, a capital after each space for
// the letters a to v, runs of spaces shortened (two become one, then three, then four: four in
// a row end as two), and with `inf` "(inf)" as "(INF)".
QString normaliseType(QString text, bool inf);

// The texts both windows show.
extern const QString kPriceRefused;   // a sale price not above the cost
extern const QString kUserError;      // into the message strip with it
extern const QString kChooseLine;     // a line that is neither of the two
extern const QString kPointForComma;  // a price that does not convert

// QIgv's rate, IgvValor of the IGV row with the highest code; 0 without one.
double igvRate(db::Db& db);
// The trimmed text of a box as money; throws std::invalid_argument when it is not an amount.
core::Money moneyOf(const QLineEdit* box);

// The line box's two values.
bool isLine(const QString& text);
// The trimmed text of an integer box: 0 when empty; throws std::out_of_range beyond `max`.
int integerOf(const QLineEdit* box, int max);
// Enter or Return.
bool isEnter(const QEvent* event);

}  // namespace catalogue::prices
