#include "core/Format.h"
#include "ui/Grid.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"

#include <gtest/gtest.h>

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QTableView>

namespace {

struct Line {
    QString name;
    int stock;
    QString state;
};

// The column set of a small stock grid: stock right-aligned and red when it is zero, the
// state bold on the info background for lines not yet discharged.
std::vector<ui::ColumnDef> lineColumns(const ui::VectorModel<Line>& m) {
    return {
        {.title = QStringLiteral("NOMBRE"), .width = 200, .value = m.by(&Line::name)},
        {.title = QStringLiteral("STOCK"),
         .width = 50,
         .alignment = Qt::AlignRight | Qt::AlignVCenter,
         .value = m.by(&Line::stock),
         .format = [](const QVariant& v) { return QString::number(v.toInt()) + " u."; },
         .foreground =
             m.by([](const Line& l) { return l.stock == 0 ? ui::palette::red : QColor(); })},
        {.title = QStringLiteral("ESTADO"),
         .width = 120,
         .value = m.by(&Line::state),
         .background = m.by([](const Line& l) {
             return l.state == "NO DESCARGADO" ? ui::palette::infoBackground : QColor();
         }),
         .bold = m.by([](const Line& l) { return l.state == "NO DESCARGADO"; })},
    };
}

class TableModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        model_.setColumns(lineColumns(model_));
        model_.setRows({{QStringLiteral("PANADOL"), 12, QStringLiteral("DESCARGADO")},
                        {QStringLiteral("ASPIRINA"), 0, QStringLiteral("NO DESCARGADO")}});
    }
    QVariant data(int row, int column, int role) const {
        return model_.data(model_.index(row, column), role);
    }

    ui::VectorModel<Line> model_;
};

TEST_F(TableModelTest, CellsShowTheFormattedValue) {
    EXPECT_EQ(model_.rowCount(), 2);
    EXPECT_EQ(model_.columnCount(), 3);
    EXPECT_EQ(data(0, 0, Qt::DisplayRole).toString(), QStringLiteral("PANADOL"));
    EXPECT_EQ(data(1, 1, Qt::DisplayRole).toString(), QStringLiteral("0 u."));
    EXPECT_EQ(data(1, 1, Qt::EditRole).toInt(), 0) << "the raw value stays reachable";
    EXPECT_EQ(model_.text(0, 1), QStringLiteral("12 u."));
    EXPECT_EQ(model_.headerData(2, Qt::Horizontal).toString(), QStringLiteral("ESTADO"));
    EXPECT_EQ(model_.columnTitled(QStringLiteral("STOCK")), 1);
    EXPECT_EQ(model_.columnTitled(QStringLiteral("PRECIO")), -1);
    EXPECT_EQ(Qt::Alignment(data(0, 1, Qt::TextAlignmentRole).toInt()),
              Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_FALSE(model_.flags(model_.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(data(2, 0, Qt::DisplayRole).isValid()) << "past the last row";
}

TEST_F(TableModelTest, ColoursAndBoldFollowTheRow) {
    EXPECT_EQ(data(1, 1, Qt::ForegroundRole).value<QBrush>().color(), ui::palette::red);
    EXPECT_FALSE(data(0, 1, Qt::ForegroundRole).isValid()) << "the grid's own colour";
    EXPECT_EQ(data(1, 2, Qt::BackgroundRole).value<QBrush>().color(), ui::palette::infoBackground);
    EXPECT_FALSE(data(0, 2, Qt::BackgroundRole).isValid());
    EXPECT_TRUE(data(1, 2, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(data(0, 2, Qt::FontRole).isValid());
    EXPECT_FALSE(data(1, 0, Qt::FontRole).isValid()) << "only the column that asks is bold";
}

TEST_F(TableModelTest, NewRowsReplaceTheOldOnes) {
    model_.setRows({{QStringLiteral("DOLOCORDRALAN"), 3, QString()}});
    EXPECT_EQ(model_.rowCount(), 1);
    EXPECT_EQ(model_.row(0).name, QStringLiteral("DOLOCORDRALAN"));
    EXPECT_EQ(data(0, 0, Qt::DisplayRole).toString(), QStringLiteral("DOLOCORDRALAN"));
}

TEST(IndexModel, ValueFunctionsIndexTheOwnersRows) {
    std::vector<core::Money> prices = {core::Money::fromRaw(125000), core::Money::fromRaw(5)};
    ui::TableModel model(
        {{.title = QStringLiteral("PRECIO"),
          .value = [&](int r) { return QVariant::fromValue(prices[r]); },
          .format =
              [](const QVariant& v) { return core::fmt::printf8_2(v.value<core::Money>()); }}});
    model.reset(int(prices.size()));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.text(0, 0), QStringLiteral("   12.50"));
    EXPECT_EQ(model.text(1, 0), QStringLiteral("    0.00"));
    prices.push_back(core::Money::fromRaw(10000));
    model.reset(int(prices.size()));
    EXPECT_EQ(model.text(2, 0), QStringLiteral("    1.00"));
}

TEST(RecordModel, ColumnsNameTheirFieldInAnyCase) {
    ui::RecordModel model;
    model.setColumns(
        {{.title = QStringLiteral("CODIGO"), .field = QStringLiteral("prodcodigo")},
         {.title = QStringLiteral("NOMBRE"), .field = QStringLiteral("ProdNomComercial")},
         {.title = QStringLiteral("OTRO"), .field = QStringLiteral("NoExiste")}});
    model.setRecords({QStringLiteral("ProdCodigo"), QStringLiteral("ProdNomComercial")},
                     {{7, QStringLiteral("PANADOL")}, {9, QStringLiteral("ASPIRINA")}});
    EXPECT_EQ(model.text(1, 0), QStringLiteral("9"));
    EXPECT_EQ(model.text(0, 1), QStringLiteral("PANADOL"));
    EXPECT_EQ(model.text(0, 2), QString());
    EXPECT_EQ(model.field(1, QStringLiteral("PRODNOMCOMERCIAL")).toString(),
              QStringLiteral("ASPIRINA"));
}

TEST_F(TableModelTest, TheGridTakesTitlesAndWidthsAndSelectsWholeRows) {
    QTableView view;
    ui::Grid::setUp(&view, &model_);
    EXPECT_EQ(view.columnWidth(0), 200);
    EXPECT_EQ(view.columnWidth(1), 50);
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(ui::Grid::currentRow(&view), -1);

    ui::Grid::selectRow(&view, 7);
    EXPECT_EQ(ui::Grid::currentRow(&view), 1) << "clamped to the last row";

    model_.setRows({{QStringLiteral("A"), 1, QString()}});
    EXPECT_EQ(view.columnWidth(0), 200) << "widths survive new rows";
    EXPECT_EQ(view.columnWidth(2), 120);

    model_.setColumns(
        {{.title = QStringLiteral("NOMBRE"), .width = 77, .value = model_.by(&Line::name)}});
    EXPECT_EQ(view.columnWidth(0), 77) << "new columns bring their own widths";
}

}  // namespace
