// The per-thread table behind the active coordinate system: each thread its own value, entry 0
// everyone's default, entries of ended threads reused; conversions from many threads at once.
#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "geoxform/coordsystem.h"
#include "reference_fixture.h"
#include "service/thread_handler.h"

namespace {

// A thread that stores a value and stays alive until ended, so that the test can look at the
// table meanwhile; when ended it reads its value back.
class ParkedThread {
public:
    ParkedThread(CThreadHandler& table, uintptr_t value)
        : m_thread([this, &table, value] {
              table.SetValue(value);
              m_stored.set_value();
              m_release.get_future().wait();
              m_readBack = table.GetValue();
          }) {
        m_stored.get_future().wait();
    }
    ~ParkedThread() { End(); }
    uintptr_t End() {
        if (m_thread.joinable()) m_release.set_value(), m_thread.join();
        return m_readBack;
    }

private:
    std::promise<void> m_stored, m_release;
    uintptr_t m_readBack = 0;
    std::thread m_thread;
};

// Steps on one table: a value stored by a new parked thread (0: by this thread), or a parked
// thread ended; then the table size and the value a thread without an entry sees.
TEST(ThreadHandler, EntriesPerThread) {
    CThreadHandler table;
    EXPECT_EQ(table.GetValue(), 0u);
    std::vector<std::unique_ptr<ParkedThread>> threads;
    const struct {
        int start, end; // value a new thread stores, index of a thread to end (-1: none)
        int size;
        uintptr_t seenByNewThreads;
    } steps[] = {// clang-format off
        {1, -1, 5, 1}, {2, -1, 5, 1}, {3, -1, 5, 1}, {4, -1, 5, 1}, {5, -1, 5, 1}, // 1: entry 0
        {0, 2, 5, 1},   // the thread of value 3 ends
        {6, -1, 5, 1},  // its entry is reused instead of growing
        {7, -1, 10, 1}, // a sixth live thread grows the table to ten
        {0, 0, 10, 1},  // entry 0's thread ends: its value stays everyone's default
        {8, -1, 10, 1}};
    // clang-format on
    for (const auto& step : steps) {
        if (step.start > 0) threads.push_back(std::make_unique<ParkedThread>(table, step.start));
        if (step.end >= 0) {
            EXPECT_EQ(threads[step.end]->End(), uintptr_t(step.end + 1));
        }
        EXPECT_EQ(table.GetTableSize(), step.size) << step.start;
        uintptr_t seen = 0;
        std::thread([&] { seen = table.GetValue(); }).join();
        EXPECT_EQ(seen, step.seenByNewThreads) << step.start;
    }
    for (size_t i = 0; i < threads.size(); ++i)
        EXPECT_EQ(threads[i]->End(), i + 1);
}

// Before the table exists and after it is freed there is no active system (each thread's own
// value is the threaded test's below).
TEST(ActiveCoordSystem, NullWithoutTheTable) {
    auto* pFake = reinterpret_cast<CCoordSystem*>(uintptr_t{0x1000});
    SetActiveCoordSystem(pFake); // no table yet: ignored
    EXPECT_EQ(GetActiveCoordSystem(), nullptr);
    InitEmptyDatabase();
    SetActiveCoordSystem(pFake);
    EXPECT_EQ(GetActiveCoordSystem(), pFake);
    FreeEPSGDataBase();
    EXPECT_EQ(g_pThreadHandler, nullptr);
    EXPECT_EQ(GetActiveCoordSystem(), nullptr);
}

// 8 threads at a time, each replaced by a new one nine times (taking the entries of ended ones),
// set and read back the active system 10^4 times each, and convert points on objects of their
// own and on one shared by all: no value lost, and the results of one thread alone.
using Threaded = fixture::ReferenceData;
TEST_F(Threaded, ActiveSystemsAndConversions) {
    KQCRSystem r;
    gx::InitCRSystem(&r, 3, 25000);
    r.iSystemCode = 27700;
    std::atomic<int> wrong{0};
    const auto run = [&](CCoordSystem* s, bool bSetUp) { // sheet to longitude, latitude and back
        if (KQCRSystem copy = r; bSetUp) wrong += s->SetParameters(&copy) != 1;
        std::vector<double> out(4000);
        for (size_t k = 0; k < out.size(); k += 4)
            s->World2User(k * 0.1 - 500, k * 0.13 - 800, out[k], out[k + 1], 1),
                s->User2World(out[k], out[k + 1], out[k + 2], out[k + 3], 1);
        return out;
    };
    CCoordSystem* shared = CreateCoordSystem(3, 25000);
    const std::vector<double> expected = run(shared, true);
    std::vector<std::thread> slots;
    for (uintptr_t slot = 0; slot < 8; ++slot)
        slots.emplace_back([&, slot] {
            for (uintptr_t generation = 0; generation < 10; ++generation)
                std::thread([&, id = slot * 10 + generation] {
                    for (uintptr_t v = (id + 1) << 24; v < ((id + 1) << 24) + 160000; v += 16)
                        SetActiveCoordSystem(reinterpret_cast<CCoordSystem*>(v)),
                            wrong += GetActiveCoordSystem() != reinterpret_cast<CCoordSystem*>(v);
                    CCoordSystem* own = CreateCoordSystem(3, 25000);
                    wrong += (run(own, true) != expected) + (run(shared, false) != expected);
                    DeleteCoordSystem(own);
                }).join();
        });
    for (std::thread& slot : slots)
        slot.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_LE(g_pThreadHandler->GetTableSize(), 15); // at most 8 live threads and entry 0
    DeleteCoordSystem(shared);
}

} // namespace
