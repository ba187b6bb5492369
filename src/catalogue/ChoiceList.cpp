#include "catalogue/ChoiceList.h"

namespace catalogue {

std::unique_ptr<BrandList> brandList(QTableView* grid, QLineEdit* box, const QString& nameTitle) {
    using db::proc::LaboratorioChoice;
    auto list = std::make_unique<BrandList>(grid, box, &LaboratorioChoice::LabNombre);
    auto& m = list->model();
    list->setColumns({
        {.title = QStringLiteral("CODIGO"),
         .width = 60,
         .value = m.by(&LaboratorioChoice::LabCodigo)},
        {.title = nameTitle, .width = 300, .value = m.by(&LaboratorioChoice::LabNombre)},
    });
    return list;
}

}  // namespace catalogue
