#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "service/thread_handler.h"
#include "test_support.h"

namespace {

// A thread that runs one task, then waits until released, so that it stays alive while the
// test looks at the table; when released it runs the final task and ends.
class ParkedThread {
public:
    explicit ParkedThread(std::function<void()> task, std::function<void()> finalTask = {}) {
        m_thread = std::thread([this, task, finalTask] {
            task();
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_done = true;
                m_cv.notify_all();
                m_cv.wait(lock, [this] { return m_released; });
            }
            if (finalTask) finalTask();
        });
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cv.wait(lock, [this] { return m_done; });
    }
    ~ParkedThread() { End(); }
    // Releases the thread and waits until it has ended.
    void End() {
        if (!m_thread.joinable()) return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_released = true;
        }
        m_cv.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_done = false;
    bool m_released = false;
    std::thread m_thread;
};

uintptr_t ValueOnNewThread(CThreadHandler& table) {
    uintptr_t value = 0;
    std::thread([&] { value = table.GetValue(); }).join();
    return value;
}

TEST(ThreadHandler, OwnValueAndFirstEntryAsDefault) {
    CThreadHandler table;
    EXPECT_EQ(table.GetValue(), 0u);
    table.SetValue(11);
    EXPECT_EQ(table.GetValue(), 11u);
    EXPECT_EQ(ValueOnNewThread(table), 11u); // a thread without an entry sees entry 0
    table.SetValue(11);                      // storing the same value again changes nothing
    EXPECT_EQ(table.GetValue(), 11u);
    EXPECT_EQ(table.GetTableSize(), 5);
}

TEST(ThreadHandler, SixLiveThreadsGrowTheTableToTenAndKeepTheirValues) {
    CThreadHandler table;
    std::vector<uintptr_t> readBack(6, 0);
    std::vector<std::unique_ptr<ParkedThread>> threads;
    for (uintptr_t i = 0; i < 6; ++i)
        threads.push_back(std::make_unique<ParkedThread>(
            [&table, i] { table.SetValue(100 + i); },
            [&table, &readBack, i] { readBack[i] = table.GetValue(); }));
    EXPECT_EQ(table.GetTableSize(), 10);
    EXPECT_EQ(ValueOnNewThread(table), 100u);
    for (auto& thread : threads)
        thread->End();
    for (uintptr_t i = 0; i < 6; ++i)
        EXPECT_EQ(readBack[i], 100 + i);
}

TEST(ThreadHandler, EndedThreadsEntryIsReusedButEntryZeroSurvives) {
    CThreadHandler table;
    ParkedThread first([&] { table.SetValue(1); }); // entry 0
    std::vector<std::unique_ptr<ParkedThread>> others;
    for (uintptr_t i = 2; i <= 5; ++i)
        others.push_back(std::make_unique<ParkedThread>([&table, i] { table.SetValue(i); }));
    ASSERT_EQ(table.GetTableSize(), 5);

    others[1]->End(); // the thread of entry 2 ends
    ParkedThread newcomer([&] { table.SetValue(6); });
    EXPECT_EQ(table.GetTableSize(), 5); // its entry was reused instead of growing

    first.End(); // entry 0's thread ends: its value stays the default
    ParkedThread another([&] { table.SetValue(7); });
    EXPECT_EQ(ValueOnNewThread(table), 1u);
}

TEST(ActiveCoordSystem, NullBeforeInitAndPerThreadAfter) {
    auto* pFake = reinterpret_cast<CCoordSystem*>(uintptr_t{0x1000});
    SetActiveCoordSystem(pFake); // no table yet: ignored
    EXPECT_EQ(GetActiveCoordSystem(), nullptr);

    InitEmptyDatabase();
    ASSERT_NE(g_pThreadHandler, nullptr);
    SetActiveCoordSystem(pFake);
    EXPECT_EQ(GetActiveCoordSystem(), pFake);
    auto* pOther = reinterpret_cast<CCoordSystem*>(uintptr_t{0x2000});
    CCoordSystem* pSeen = nullptr;
    std::thread([&] {
        SetActiveCoordSystem(pOther);
        pSeen = GetActiveCoordSystem();
    }).join();
    EXPECT_EQ(pSeen, pOther);
    EXPECT_EQ(GetActiveCoordSystem(), pFake);
    FreeEPSGDataBase();
    EXPECT_EQ(g_pThreadHandler, nullptr);
    EXPECT_EQ(GetActiveCoordSystem(), nullptr);
}

} // namespace
