#include "sales/SearchScreenParts.h"

#include "core/Format.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QAbstractItemView>
#include <QLabel>

namespace sales::parts {

QLabel* label(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setTextInteractionFlags(Qt::NoTextInteraction);
    return l;
}

QLabel* field(const char* name, QWidget* parent, const QColor& color, int pointSize, bool bold,
              bool italic) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    if (pointSize > 0)
        f.setPointSize(pointSize);
    f.setBold(bold);
    f.setItalic(italic);
    l->setFont(f);
    ui::setTextColour(l, color);
    return l;
}

void setBase(QWidget* w, const QColor& color) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, color);
    w->setPalette(p);
}

void FocusedRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(parent());
    if (!(option->state & QStyle::State_Selected) || !view || !view->hasFocus())
        return;
    option->font.setBold(true);
    option->palette.setColor(QPalette::Highlight, ui::palette::red);
    option->palette.setColor(QPalette::HighlightedText, ui::palette::highlightText());
}

QVariant HintedModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ToolTipRole || role == Qt::StatusTipRole) {
        const auto it = hints_.find(index.column());
        return it == hints_.end() ? QVariant() : QVariant(it->second);
    }
    return ui::TableModel::data(index, role);
}

std::vector<ui::ColumnDef> presentationColumns(const session::TDM& dm) {
    const auto money2 = [](core::Money m) { return core::fmt::twoDecimals(m); };
    auto row = [&dm](int r) -> const session::PresentationRow& {
        return dm.presentations()[std::size_t(r)];
    };
    auto text = [](const char* t) { return [t](int) { return QVariant(QString::fromLatin1(t)); }; };
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    return {
        {.width = 70,
         .alignment = right,
         .value = [row](int r) { return QVariant(row(r).PORCENGANAN()); }},
        {.width = 18,
         .alignment = Qt::AlignCenter,
         .value = [row](int r) { return QVariant(row(r).P_Estado()); },
         .bold = [](int) { return true; }},
        {.width = 330,
         .value = [row](int r) { return QVariant(row(r).PresTipo); },
         .bold = [](int) { return true; }},
        {.width = 28, .value = text("PI:")},
        {.width = 70,
         .alignment = right,
         .value = [row, money2](int r) { return QVariant(money2(row(r).PresPrecioCosto)); }},
        {.width = 30, .value = text("PV:")},
        {.width = 70,
         .alignment = right,
         .value = [row, money2](int r) { return QVariant(money2(row(r).PresVenta)); },
         .bold = [](int) { return true; }},
        {.width = 84,
         .alignment = right,
         .value = [row](int r) { return QVariant(row(r).PresCodDigemid); }},
        {.width = 55, .value = text("STOCK:")},
        {.width = 60,
         .alignment = Qt::AlignCenter,
         .value = [row](int r) { return QVariant(row(r).PresStockTotal); },
         .foreground = [](int) { return ui::palette::white; },
         .background = [](int) { return ui::palette::red; },
         .bold = [](int) { return true; }},
    };
}

}  // namespace sales::parts
