#include "admin/AdminTest.h"

#include "admin/UnitFormMensajesPC02PC03.h"
#include "admin/WorkstationMessages.h"

#include <QSignalSpy>

using namespace testsupport;
using ::admin::TFormMensajesPC02PC03;
using ::admin::WorkstationMessages;

namespace {

// A second program, "CAJA2", on a connection of its own, polling often.
struct OtherProgram {
    explicit OtherProgram(std::unique_ptr<db::Db> connection, core::Clock& clock,
                          db::Settings& settings)
        : db(std::move(connection)), dm(*db), ctx{*db,      settings, clock,   messages,
                                                  platform, dm,       session, commands} {
        platform.name = QStringLiteral("CAJA2");
        station = std::make_unique<WorkstationMessages>(ctx, nullptr, std::chrono::seconds(30),
                                                        std::chrono::milliseconds(20));
    }
    std::unique_ptr<db::Db> db;
    ScriptedMessages messages;
    FakePlatform platform;
    session::TDM dm;
    session::Session session;
    session::Commands commands;
    session::AppContext ctx;
    std::unique_ptr<WorkstationMessages> station;
};

class MessagesWindow : public adminwin::AdminTest {
protected:
    TFormMensajesPC02PC03* open() {
        platform.name = QStringLiteral("CAJA1");
        return openAs<TFormMensajesPC02PC03>(1, "MensajeaPCs1");
    }
    void send(TFormMensajesPC02PC03* w, const QString& text, const QString& to) {
        typeMemo(w, "Memo1", text);
        typeInto(w, "EdNombrePC", to);
        click(w, "BtnMensajes");
    }
};

VELCARIS_DB_TEST_SUITE(MessagesWindow);

// A text of more than 255 characters with line breaks, sent to "caja2", reaches the other
// program once, cut to 255 as typed, and is marked read.
TEST_P(MessagesWindow, AMessageAppearsOnceAtTheOtherWorkstation) {
    OtherProgram caja2(connectAnother(), clock, settings);
    QSignalSpy shown(caja2.station.get(), &WorkstationMessages::shown);
    TFormMensajesPC02PC03* w = open();
    const QString line = QString(100, QLatin1Char('A'));
    const QString typed = line + "\n" + line + "\n" + line;
    send(w, typed, QStringLiteral("caja2"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("MENSAJE ENVIADO A CAJA2"));
    ASSERT_TRUE(shown.count() > 0 || shown.wait(10000));
    auto* received = shown.at(0).at(0).value<QWidget*>();
    EXPECT_EQ(label(received, "LblTexto"), typed.left(255));
    EXPECT_TRUE(label(received, "LblRemitente").contains(QStringLiteral("CAJA1")));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT MenLeido FROM MENSAJE"))), 1);
    QTest::qWait(100);
    EXPECT_EQ(shown.count(), 1);
    received->close();
}

}  // namespace
