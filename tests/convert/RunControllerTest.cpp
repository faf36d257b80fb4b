// The Convert command's sequence around the converter and its restoring steps.

#include "convert/RunController.h"

#include <QStringList>
#include <QTest>

#include <stdexcept>

class RunControllerTest : public QObject {
    Q_OBJECT
private slots:
    void runsTheStepsInOrder();
    void failedCheckChangesNothing();
    void secondConvertWhileBusyDoesNothing();
    void abortRequestIsClearedAtTheStart();
    void restoresAfterAnException();
    void takeAbortRequestClearsIt();

private:
    QStringList m_log;
    RunController::Steps steps(RunController& controller, bool valid);
};

RunController::Steps RunControllerTest::steps(RunController& controller, bool valid) {
    RunController::Steps s;
    s.InputCheck = [this, valid] {
        m_log << QStringLiteral("check");
        return valid;
    };
    s.AllEnabled = [this](bool on) {
        m_log << (on ? QStringLiteral("enable") : QStringLiteral("disable"));
    };
    s.CtrlToSet = [this] { m_log << QStringLiteral("ctrlToSet"); };
    s.ConvDispatch = [this, &controller] {
        m_log << (controller.Busy() ? QStringLiteral("dispatch busy")
                                    : QStringLiteral("dispatch idle"));
    };
    s.restoreCaption = [this] { m_log << QStringLiteral("caption"); };
    return s;
}

void RunControllerTest::runsTheStepsInOrder() {
    m_log.clear();
    RunController controller;
    QVERIFY(controller.cmdWrite(steps(controller, true)));
    const QStringList expected{QStringLiteral("check"),     QStringLiteral("disable"),
                               QStringLiteral("ctrlToSet"), QStringLiteral("dispatch busy"),
                               QStringLiteral("caption"),   QStringLiteral("enable")};
    QCOMPARE(m_log, expected);
    QVERIFY(!controller.Busy());
}

void RunControllerTest::failedCheckChangesNothing() {
    m_log.clear();
    RunController controller;
    QVERIFY(!controller.cmdWrite(steps(controller, false)));
    QCOMPARE(m_log, QStringList{QStringLiteral("check")});
    QVERIFY(!controller.Busy());
}

void RunControllerTest::secondConvertWhileBusyDoesNothing() {
    m_log.clear();
    RunController controller;
    RunController::Steps outer = steps(controller, true);
    bool innerRan = true;
    outer.ConvDispatch = [&] { innerRan = controller.cmdWrite(steps(controller, true)); };
    QVERIFY(controller.cmdWrite(outer));
    QVERIFY(!innerRan);
    // The inner command only checked its input.
    QCOMPARE(m_log.count(QStringLiteral("check")), 2);
    QCOMPARE(m_log.count(QStringLiteral("caption")), 1);
}

void RunControllerTest::abortRequestIsClearedAtTheStart() {
    RunController controller;
    controller.requestAbort();
    RunController::Steps s = steps(controller, true);
    bool seen = true;
    s.ConvDispatch = [&] { seen = controller.AbortReq(); };
    controller.cmdWrite(s);
    QVERIFY(!seen);
}

void RunControllerTest::restoresAfterAnException() {
    m_log.clear();
    RunController controller;
    RunController::Steps s = steps(controller, true);
    s.ConvDispatch = [] { throw std::runtime_error("converter failed"); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, controller.cmdWrite(s));
    QVERIFY(m_log.endsWith(QStringLiteral("enable")));
    QVERIFY(m_log.contains(QStringLiteral("caption")));
    QVERIFY(!controller.Busy());
}

void RunControllerTest::takeAbortRequestClearsIt() {
    RunController controller;
    QVERIFY(!controller.takeAbortRequest());
    controller.requestAbort();
    QVERIFY(controller.AbortReq());
    QVERIFY(controller.takeAbortRequest());
    QVERIFY(!controller.AbortReq());
}

QTEST_APPLESS_MAIN(RunControllerTest)
#include "RunControllerTest.moc"
