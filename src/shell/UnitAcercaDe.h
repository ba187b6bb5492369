#pragma once

#include <QDialog>

class QLabel;

namespace shell {

struct AppContext;

// The about box: the program's version and the workstation's USB storage switch.
class TAcercaDe : public QDialog {
    Q_OBJECT

public:
    TAcercaDe(AppContext& context, QWidget* parent = nullptr);

private:
    void switchUsb(bool enabled);

    AppContext& ctx_;
    QLabel* LUSB = nullptr;
};

}  // namespace shell
