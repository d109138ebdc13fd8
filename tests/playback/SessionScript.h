#pragma once

#include "SessionHarness.h"
#include "settings/Preferences.h"

#include <QTest>

#include <cmath>

// Rows of the session tests are scripts: steps run one after another, then facts are read.
// Steps before the session opens: "pref.<property>=<value>" (Preferences), "store.<key>=<value>"
// ("default.<key>" of the quick store), "resume=<seconds>". Steps after: "set.<property>=<value>"
// (the session's), "play", "toggle", "seek:<s>", "hide", "show", "stop", "retry", "shot", and
// whatever the test's own step function takes. Facts: "<name>=<value>" joined by ';' — a
// session property, or state, error, kind, status, toast, stored.<key>, reports
// ("<elapsed>/<duration or ->" joined by ','), or the test's own.
namespace SessionScript {

inline QString number(double value)
{
    return QString::number(value, 'g', 6);
}

inline std::optional<double> resumeOf(const QStringList &steps)
{
    for (const QString &step : steps) {
        if (step.startsWith(u"resume="))
            return step.section(u'=', 1).toDouble();
    }
    return std::nullopt;
}

inline void prepare(SessionHarness &harness, const QStringList &steps)
{
    for (const QString &step : steps) {
        const QString key = step.section(u'=', 0, 0).section(u'.', 1);
        if (step.startsWith(u"pref."))
            harness.preferences().setProperty(key.toLatin1(), step.section(u'=', 1));
        else if (step.startsWith(u"store."))
            harness.quickStore().setValue(u"default."_qs + key, step.section(u'=', 1));
    }
}

// False when the step is not a common one.
inline bool run(PlaybackSession &session, const QString &step)
{
    const QString arg = step.section(u':', 1);
    if (step.startsWith(u"set."))
        session.setProperty(step.section(u'=', 0, 0).mid(4).toLatin1(), step.section(u'=', 1));
    else if (step == u"play") session.play();
    else if (step == u"toggle") session.togglePlayback();
    else if (step.startsWith(u"seek:")) session.seek(arg.toDouble());
    else if (step == u"hide") session.setHidden(true);
    else if (step == u"show") session.setHidden(false);
    else if (step == u"stop") session.stop();
    else if (step == u"retry") session.retry();
    else if (step == u"shot") session.captureScreenshot();
    else return step.contains(u'=');
    return true;
}

inline QString fact(SessionHarness &harness, const PlaybackSession &session, const QString &name)
{
    const PlaybackState &state = session.state();
    if (name == u"state")
        return state.isFailed() ? u"failed"_qs : state.isLoading() ? u"loading"_qs : u"ready"_qs;
    if (name == u"error")
        return state.error() ? state.error()->message() : QString();
    if (name == u"kind")
        return state.error() ? QString::number(int(state.error()->kind())) : QString();
    if (name == u"status")
        return session.statusText();
    if (name == u"toast")
        return session.toast().value_or(QString());
    if (name.startsWith(u"stored."))
        return harness.storedQuickValue(u"default."_qs + name.mid(7)).toString();
    if (name == u"reports") {
        QStringList reports;
        for (const SessionHarness::Progress &p : harness.progress())
            reports << number(p.elapsed) + u"/"_qs + (p.duration ? number(*p.duration) : u"-"_qs);
        return reports.join(u',');
    }
    const QVariant value = session.property(name.toLatin1());
    if (value.typeId() == QMetaType::Double)
        return number(value.toDouble());
    return value.typeId() == QMetaType::Bool ? QString::number(value.toBool()) : value.toString();
}

// Runs the row's steps on a fresh session and compares the facts it names.
template<typename Step, typename Fact>
void check(SessionHarness &harness, std::unique_ptr<PlaybackSession> &session, const QString &steps,
           const QString &expected, Step own, Fact ownFact)
{
    for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
        if (!step.contains(u'=') || step.startsWith(u"set."))
            QVERIFY2(run(*session, step) || own(step), qPrintable(step));
    }
    QStringList actual;
    for (const QString &expectation : expected.split(u';', Qt::SkipEmptyParts)) {
        const QString name = expectation.section(u'=', 0, 0);
        const std::optional<QString> mine = ownFact(name);
        actual << name + u"="_qs + mine.value_or(fact(harness, *session, name));
    }
    QCOMPARE(actual.join(u';'), expected);
}

} // namespace SessionScript
