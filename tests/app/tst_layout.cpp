#include <QtTest>

#include "layout.h"

using namespace frmmain_layout;

class TestLayout : public QObject {
    Q_OBJECT
private slots:
    void startup_data();
    void startup();
    void frameCountsInOuterSize();
    void layoutFollowsRightAndBottomEdges();
    void layoutNeverNegative_data();
    void layoutNeverNegative();
};

void TestLayout::startup_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("expected");
    // 1920 x 1080: 17280 twips wide, 9257.14 twips high rounded to 617 px; left (28800 -
    // 17280) / 2 = 5760 twips; top 16200 - 9255 - 500 = 6445 twips.
    QTest::newRow("1920x1080") << QRect(0, 0, 1920, 1080) << QRect(384, 430, 1152, 617);
    QTest::newRow("1024x768") << QRect(0, 0, 1024, 768) << QRect(205, 296, 614, 439);
    QTest::newRow("second screen at an offset") << QRect(1920, 0, 1280, 1024)
                                                << QRect(1920 + 256, 406, 768, 585);
    QTest::newRow("tiny 320x240") << QRect(0, 0, 320, 240) << QRect(64, 70, 192, 137);
}

void TestLayout::startup()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, expected);
    const QRect window = startupGeometry(screen, QMargins());
    QCOMPARE(window, expected);
    // The bottom edge stands 500 twips (33 px) above the screen's bottom.
    QVERIFY(qAbs(screen.bottom() - window.bottom() - 33) <= 1);
}

void TestLayout::frameCountsInOuterSize()
{
    // Width and height are the outer size: a window manager's frame is part of them.
    const QMargins frame(2, 24, 2, 2);
    const QRect outer = startupGeometry(QRect(0, 0, 1920, 1080), frame);
    QCOMPARE(outer, QRect(384, 430, 1152, 617));
}

void TestLayout::layoutFollowsRightAndBottomEdges()
{
    const Controls c = forWindowSize(QSize(1152, 617));
    // W = 17280, H = 9255 twips.
    QCOMPARE(c.txtCode, QRect(8, 8, 1132, 464));     // 16980 x 6955 twips
    QCOMPARE(c.btnExit, QRect(999, 484, 121, 33));   // left W-2300, top H-2000
    QCOMPARE(c.btnNew, QRect(865, 484, 121, 33));    // W-4300
    QCOMPARE(c.btnExecute, QRect(737, 484, 121, 33)); // W-6220
    QCOMPARE(c.status, QRect(8, 537, 529, 33));      // top H-1200; width stays 7935
}

void TestLayout::layoutNeverNegative_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::newRow("minimised") << QSize(0, 0);
    QTest::newRow("narrow") << QSize(10, 400);
    QTest::newRow("flat") << QSize(400, 100);
}

void TestLayout::layoutNeverNegative()
{
    QFETCH(QSize, outer);
    const Controls c = forWindowSize(outer);
    for (const QRect &r : {c.txtCode, c.btnExecute, c.btnNew, c.btnExit, c.status})
        QVERIFY2(r.width() >= 0 && r.height() >= 0, qPrintable(QString("%1x%2").arg(r.width()).arg(r.height())));
}

QTEST_APPLESS_MAIN(TestLayout)
#include "tst_layout.moc"
