#include "ui/QtTranslations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

TEST(QtTranslations, QtsOwnDialogsSpeakTheShopsSpanish) {
    QTranslator* translator = ui::loadQtTranslations();
    ASSERT_NE(translator, nullptr) << "qt6-translations-l10n is not installed";
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_EQ(print, QStringLiteral("Imprimir"));
    EXPECT_EQ(cancel, QStringLiteral("Cancelar"));
}
