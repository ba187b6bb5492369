#pragma once

#include <QDialog>

class QLabel;

namespace session {
struct AppContext;
}

namespace shell {

// The about box: the program's version and the workstation's USB storage switch.
class TAcercaDe : public QDialog {
    Q_OBJECT

public:
    TAcercaDe(session::AppContext& context, QWidget* parent = nullptr);

private:
    void switchUsb(bool enabled);

    session::AppContext& ctx_;
    QLabel* LUSB = nullptr;
};

}  // namespace shell
