// The Convert command's sequence around the converter and its restoring steps.

#include "convert/RunController.h"

#include <QStringList>
#include <QTest>

#include <memory>
#include <stdexcept>

class RunControllerTest : public QObject {
    Q_OBJECT

    QStringList m_log;
    std::unique_ptr<RunController> m_controller;

    // Steps that log themselves; the dispatch notes whether the controller was busy.
    RunController::Steps steps(bool valid) {
        RunController::Steps s;
        s.InputCheck = [this, valid] {
            m_log << u"check"_qs;
            return valid;
        };
        s.AllEnabled = [this](bool on) { m_log << (on ? u"enable"_qs : u"disable"_qs); };
        s.CtrlToSet = [this] { m_log << u"ctrlToSet"_qs; };
        s.ConvDispatch = [this] { m_log << (m_controller->Busy() ? u"busy"_qs : u"idle"_qs); };
        s.restoreCaption = [this] { m_log << u"caption"_qs; };
        return s;
    }

private slots:
    void init() {
        m_log.clear();
        m_controller = std::make_unique<RunController>();
    }

    void runsTheStepsInOrder() {
        QVERIFY(m_controller->cmdWrite(steps(true)));
        QCOMPARE(m_log, QStringList({u"check"_qs, u"disable"_qs, u"ctrlToSet"_qs, u"busy"_qs,
                                     u"caption"_qs, u"enable"_qs}));
        QVERIFY(!m_controller->Busy());
    }

    void failedCheckChangesNothing() {
        QVERIFY(!m_controller->cmdWrite(steps(false)));
        QCOMPARE(m_log, QStringList{u"check"_qs});
        QVERIFY(!m_controller->Busy());
    }

    void secondConvertWhileBusyDoesNothing() {
        RunController::Steps outer = steps(true);
        bool innerRan = true;
        outer.ConvDispatch = [&] { innerRan = m_controller->cmdWrite(steps(true)); };
        QVERIFY(m_controller->cmdWrite(outer));
        QVERIFY(!innerRan);
        // The inner command only checked its input.
        QCOMPARE(m_log.count(u"check"_qs), 2);
        QCOMPARE(m_log.count(u"caption"_qs), 1);
    }

    void abortRequestIsClearedAtTheStart() {
        m_controller->requestAbort();
        QVERIFY(m_controller->AbortReq());
        RunController::Steps s = steps(true);
        bool seen = true;
        s.ConvDispatch = [&] { seen = m_controller->AbortReq(); };
        m_controller->cmdWrite(s);
        QVERIFY(!seen);
    }

    void restoresAfterAnException() {
        RunController::Steps s = steps(true);
        s.ConvDispatch = [] { throw std::runtime_error("converter failed"); };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_controller->cmdWrite(s));
        QVERIFY(m_log.endsWith(u"enable"_qs));
        QVERIFY(m_log.contains(u"caption"_qs));
        QVERIFY(!m_controller->Busy());
    }
};

QTEST_APPLESS_MAIN(RunControllerTest)
#include "RunControllerTest.moc"
