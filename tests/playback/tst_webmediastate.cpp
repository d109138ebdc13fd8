#include "playback/WebMediaState.h"

#include <QTest>

namespace {

// expected: the fields as "t d paused ended seekable ad w h", or "none" for no record.
struct Row {
    const char *name;
    QVariant answer;
    QString expected;
    std::optional<double> aspect;
};

const QList<Row> rows{
    {"playing", u"{\"t\":12.5,\"d\":100,\"p\":false,\"en\":true,\"se\":true,\"ad\":true,\"vw\":1920,\"vh\":1080}"_qs,
     u"12.5 100 0 1 1 1 1920 1080"_qs, 1920.0 / 1080.0},
    {"missing fields", u"{}"_qs, u"0 0 1 0 0 0 0 0"_qs, {}},
    {"absurd values", u"{\"t\":-5,\"d\":\"100\",\"p\":\"no\",\"se\":1,\"vw\":1e308,\"vh\":1e-308}"_qs,
     u"0 0 1 0 0 0 1e+308 1e-308"_qs, {}},
    {"negative width", u"{\"t\":3,\"p\":false,\"vw\":-1920,\"vh\":1080}"_qs, u"3 0 0 0 0 0 0 1080"_qs, {}},
    {"no media", QString(), u"none"_qs, {}},
    {"invalid JSON", u"{t:1"_qs, u"none"_qs, {}},
    {"an array", u"[1,2]"_qs, u"none"_qs, {}},
    {"a number", 5.0, u"none"_qs, {}},
    {"a thrown script", QVariant(), u"none"_qs, {}},
};

QString describe(const std::optional<WebMediaState> &s)
{
    if (!s)
        return u"none"_qs;
    return u"%1 %2 %3 %4 %5 %6 %7 %8"_qs.arg(s->time).arg(s->duration).arg(int(s->paused)).arg(int(s->ended))
        .arg(int(s->seekable)).arg(int(s->adShowing)).arg(s->videoWidth).arg(s->videoHeight);
}

} // namespace

class TestWebMediaState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parses()
    {
        for (const Row &row : rows) {
            const std::optional<WebMediaState> state = WebMediaState::parse(row.answer);
            QCOMPARE(row.name + u": "_qs + describe(state), row.name + u": "_qs + row.expected);
            QCOMPARE(state ? state->aspect() : std::nullopt, row.aspect);
        }
    }
};

QTEST_GUILESS_MAIN(TestWebMediaState)
#include "tst_webmediastate.moc"
