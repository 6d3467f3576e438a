// The run's workers: pages come back in the order they were handed on,
// however long each takes; the pipeline is full at twice the workers; one
// worker draws on the calling thread.
#include "sample/PageWorkers.h"

#include <QTest>
#include <atomic>

using namespace tz;
using namespace std::chrono_literals;

class TestPageWorkers : public QObject {
    Q_OBJECT
private slots:
    void pagesComeBackInHandingOrder()
    {
        PageWorkers workers(3);
        QCOMPARE(workers.Count(), 3);
        std::atomic<int> running = 0;
        std::atomic<int> mostRunning = 0;
        QList<int> order;
        auto takeOne = [&] {
            if (const auto page = workers.Next(1000ms))
                order.append(page->pageNumber);
        };
        for (int n = 1; n <= 24; ++n) {
            while (workers.Full())
                takeOne();
            workers.Hand([&, n] {
                mostRunning = std::max(mostRunning.load(), ++running);
                // Early pages take longest, so later ones finish first.
                std::this_thread::sleep_for(std::chrono::milliseconds((24 - n) % 5 * 4));
                --running;
                return FinishedPage { n, true, {}, {} };
            });
        }
        while (workers.InFlight() > 0)
            takeOne();
        QList<int> expected;
        for (int n = 1; n <= 24; ++n)
            expected.append(n);
        QCOMPARE(order, expected);
        QVERIFY(mostRunning.load() <= 3);
        QVERIFY(!workers.Next(0ms));
    }

    void theWorkersAreFullAtTwiceTheirNumber()
    {
        PageWorkers workers(2);
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(!workers.Full());
            workers.Hand([n] { return FinishedPage { n, true, {}, {} }; });
        }
        QVERIFY(workers.Full());
        QCOMPARE(workers.Next(1000ms)->pageNumber, 1);
        QVERIFY(!workers.Full());

        // A run the user may stop keeps one page beyond the workers'.
        PageWorkers shallow(2, true);
        for (int n = 1; n <= 3; ++n) {
            QVERIFY(!shallow.Full());
            shallow.Hand([n] { return FinishedPage { n, true, {}, {} }; });
        }
        QVERIFY(shallow.Full());
    }

    void oneWorkerDrawsOnTheCallingThread()
    {
        PageWorkers workers(1);
        const std::thread::id caller = std::this_thread::get_id();
        std::thread::id drawn;
        workers.Hand([&] {
            drawn = std::this_thread::get_id();
            return FinishedPage { 1, true, {}, {} };
        });
        QCOMPARE(drawn, caller);
        QCOMPARE(workers.Next(0ms)->pageNumber, 1);
        QCOMPARE(workers.InFlight(), 0);
        QCOMPARE(PageWorkers(0).Count(), MachineCores());
    }

    // Pages still in flight are finished, not dropped, when the workers end.
    void endingFinishesThePagesInFlight()
    {
        std::atomic<int> done = 0;
        {
            PageWorkers workers(2);
            for (int n = 1; n <= 4; ++n) {
                workers.Hand([&, n] {
                    std::this_thread::sleep_for(10ms);
                    ++done;
                    return FinishedPage { n, true, {}, {} };
                });
            }
        }
        QCOMPARE(done.load(), 4);
    }
};

QTEST_GUILESS_MAIN(TestPageWorkers)
#include "test_pageworkers.moc"
