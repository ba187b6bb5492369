#include "platform/PictureChooser.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QStandardPaths>
#include <QStyle>

namespace platform {

namespace {

const QStringList kPictureNames = {QStringLiteral("*.bmp"),  QStringLiteral("*.jpg"),
                                   QStringLiteral("*.jpeg"), QStringLiteral("*.png"),
                                   QStringLiteral("*.gif"),  QStringLiteral("*.ico")};

// Icons and type names from what a file is (folder or file) and its name, never its content.
class NameOnlyIcons : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override {
        return QApplication::style()->standardIcon(type == Folder ? QStyle::SP_DirIcon
                                                                  : QStyle::SP_FileIcon);
    }
    QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
    QString type(const QFileInfo& info) const override {
        if (info.isDir())
            return QStringLiteral("CARPETA");
        return info.suffix().toUpper();
    }
};

QString startFolder(const QString& avoidFolder) {
    const QString avoid = QDir::cleanPath(avoidFolder);
    for (const QString& folder :
         {QStandardPaths::writableLocation(QStandardPaths::PicturesLocation), QDir::homePath()}) {
        if (!folder.isEmpty() && QDir(folder).exists() && QDir::cleanPath(folder) != avoid)
            return folder;
    }
    return QDir::rootPath();
}

}  // namespace

QFileDialog* newPictureDialog(QWidget* parent, const QString& avoidFolder) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontUseCustomDirectoryIcons);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setWindowTitle(QStringLiteral("ELEGIR IMAGEN"));
    auto* icons = new NameOnlyIcons;
    dialog->setIconProvider(icons);
    dialog->setNameFilter(
        QStringLiteral("Imagenes (%1)").arg(kPictureNames.join(QLatin1Char(' '))));
    // Files of other types are left out of the list instead of shown disabled.
    if (auto* model = dialog->findChild<QFileSystemModel*>())
        model->setNameFilterDisables(false);
    dialog->setDirectory(startFolder(avoidFolder));
    QObject::connect(dialog, &QObject::destroyed, [icons] { delete icons; });
    return dialog;
}

QString choosePicture(QWidget* parent, const QString& avoidFolder) {
    QFileDialog* dialog = newPictureDialog(parent, avoidFolder);
    QString chosen;
    if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
        chosen = dialog->selectedFiles().constFirst();
    delete dialog;
    return chosen;
}

}  // namespace platform
