# Precompiled headers: the Qt, standard and test headers most files include, parsed once per
# group of targets that share compile flags instead of once per file.
#
# A precompiled header is only used by a compilation with the same macros and options as the
# one that made it, so the targets fall into groups with the same flags, each group reusing its
# first target's header (REUSE_FROM): the layers below the windows by the Qt modules they link,
# the windows with the program, the tests, the benchmarks. CMAKE_DISABLE_PRECOMPILE_HEADERS=ON
# turns it all off.

set(VELCARIS_PCH_CORE
  <QByteArray> <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QMap>
  <QObject> <QPointer> <QRegularExpression> <QSet> <QString> <QStringList> <QVariant>
  <algorithm> <functional> <map> <memory> <optional> <stdexcept> <vector>)
set(VELCARIS_PCH_SQL <QSqlDatabase> <QSqlError> <QSqlQuery> <QSqlRecord>)
set(VELCARIS_PCH_WIDGETS
  <QAbstractTableModel> <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog>
  <QGridLayout> <QHBoxLayout> <QHeaderView> <QImage> <QKeyEvent> <QLabel> <QLineEdit>
  <QMdiArea> <QMdiSubWindow> <QMenu> <QPainter> <QPlainTextEdit> <QPushButton> <QTableView>
  <QTimer> <QVBoxLayout> <QWidget>)
set(VELCARIS_PCH_TESTS <QTemporaryDir> <QTest> <gtest/gtest.h>)

# The headers each group precompiles, by the Qt modules its targets link.
set(VELCARIS_PCH_GROUP_core ${VELCARIS_PCH_CORE})
set(VELCARIS_PCH_GROUP_db ${VELCARIS_PCH_CORE} ${VELCARIS_PCH_SQL})
set(VELCARIS_PCH_GROUP_einvoice ${VELCARIS_PCH_CORE} ${VELCARIS_PCH_WIDGETS})
set(VELCARIS_PCH_GROUP_widgets ${VELCARIS_PCH_CORE} ${VELCARIS_PCH_SQL} ${VELCARIS_PCH_WIDGETS})
# Its own: the sound library's flags (-D_REENTRANT) would make the header unusable for others.
set(VELCARIS_PCH_GROUP_platform ${VELCARIS_PCH_GROUP_widgets})
set(VELCARIS_PCH_GROUP_windows ${VELCARIS_PCH_GROUP_widgets})
set(VELCARIS_PCH_GROUP_tests ${VELCARIS_PCH_GROUP_widgets} ${VELCARIS_PCH_TESTS})
set(VELCARIS_PCH_GROUP_bench ${VELCARIS_PCH_GROUP_widgets} <benchmark/benchmark.h>)

# velcaris_precompile(TARGET GROUP): the group's first target makes its header, the others
# reuse it.
function(velcaris_precompile target group)
  get_property(owner GLOBAL PROPERTY VELCARIS_PCH_OWNER_${group})
  if(owner)
    target_precompile_headers(${target} REUSE_FROM ${owner})
  else()
    target_precompile_headers(${target} PRIVATE ${VELCARIS_PCH_GROUP_${group}})
    set_property(GLOBAL PROPERTY VELCARIS_PCH_OWNER_${group} ${target})
  endif()
endfunction()
