#pragma once

#include <QLocale>

class QTranslator;

namespace ui {

// The shop's language: Peruvian Spanish.
inline QLocale shopLocale() {
    return QLocale(QLocale::Spanish, QLocale::Peru);
}

// Qt's own texts (print and preview dialogs, file choosers, standard buttons) in the shop's
// language, from Qt's translations of that locale (es_PE, else es). Returns the translator
// installed, owned by the application; none when they are not installed (those texts then stay
// in English).
QTranslator* loadQtTranslations(const QLocale& locale = shopLocale());

}  // namespace ui
