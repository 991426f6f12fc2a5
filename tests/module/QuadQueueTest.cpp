// The render list's merge of runs into drawing order (greatest depth first,
// equal depths in queueing order), checked against a stable sort of the
// quads in the order they were queued; and the reuse of the last order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/QuadQueue.h"

using QXUI::CQuadQueue;
using QXUI::QuadRecord;

namespace
{
QuadRecord Quad(float z, int id)
{
    QuadRecord q{};
    q.z = z;
    q.drawn.x = id;
    return q;
}

std::vector<int> Ids(const std::vector<QuadRecord>& quads)
{
    std::vector<int> ids;
    for (const QuadRecord& q : quads)
        ids.push_back(q.drawn.x);
    return ids;
}

// A list as its caller queues it: runs in the caller's storage (sorted) and
// single quads, in order; and what it must draw.
struct Scenario
{
    std::vector<std::vector<QuadRecord>> runs;  // empty vector: the next single quad
    std::vector<QuadRecord> singles;
    std::vector<QuadRecord> queued;             // every quad in queueing order

    void run(std::vector<QuadRecord> quads)
    {
        std::stable_sort(quads.begin(), quads.end(),
                         [](const QuadRecord& a, const QuadRecord& b) { return a.z > b.z; });
        queued.insert(queued.end(), quads.begin(), quads.end());
        runs.push_back(std::move(quads));
    }
    void single(const QuadRecord& quad)
    {
        queued.push_back(quad);
        singles.push_back(quad);
        runs.emplace_back();
    }
    void queueInto(CQuadQueue& list, uint64_t firstStamp = 1) const
    {
        size_t single = 0;
        uint64_t stamp = firstStamp;
        for (const std::vector<QuadRecord>& r : runs)
        {
            if (r.empty())
                list.add(singles[single++]);
            else
                list.addRun(r.data(), static_cast<uint32_t>(r.size()), stamp++);
        }
    }
    std::vector<int> expected() const
    {
        std::vector<QuadRecord> sorted = queued;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const QuadRecord& a, const QuadRecord& b) { return a.z > b.z; });
        return Ids(sorted);
    }
};

TEST(QuadQueueTest, RunsMergeIntoDepthOrderWithTiesInQueueingOrder)
{
    struct Case
    {
        const char* what;
        std::vector<std::vector<std::pair<float, int>>> runs;  // one pair alone and negative id: single
        std::vector<int> drawn;
    };
    const Case cases[] = {
        {"window buffers one step apart", {{{1.0f, 1}, {1.0f, 2}}, {{0.9f, 3}}, {{0.8f, 4}, {0.8f, 5}}},
         {1, 2, 3, 4, 5}},
        {"an owned buffer behind its owner, before the next window",
         {{{1.0f, 1}, {1.0f, 2}}, {{1.05f, 3}}, {{0.9f, 4}}},
         {3, 1, 2, 4}},
        {"a quad pushed behind two later windows",
         {{{1.0f, 1}, {0.75f, 2}}, {{0.9f, 3}}, {{0.8f, 4}}, {{0.7f, 5}}},
         {1, 3, 4, 2, 5}},
        {"equal depths in different runs", {{{0.5f, 1}}, {{0.9f, 2}, {0.5f, 3}}, {{0.5f, 4}}},
         {2, 1, 3, 4}},
        {"single quads out of order", {{{0.5f, -1}}, {{0.9f, -2}}, {{0.5f, -3}}, {{0.7f, -4}}},
         {2, 4, 1, 3}},
    };
    for (const Case& c : cases)
    {
        Scenario s;
        for (const auto& r : c.runs)
        {
            if (r.size() == 1 && r[0].second < 0)
            {
                s.single(Quad(r[0].first, -r[0].second));
                continue;
            }
            std::vector<QuadRecord> quads;
            for (const auto& q : r)
                quads.push_back(Quad(q.first, q.second));
            s.run(quads);
        }
        CQuadQueue list;
        s.queueInto(list);
        EXPECT_EQ(Ids(list.ordered()), c.drawn) << c.what;
        EXPECT_EQ(s.expected(), c.drawn) << c.what;
    }
}

// Lists of many shapes, from nearly sorted (window buffers with extra
// buffers and drawables) to shuffled depths that make the merge give up and
// sort the whole list.
TEST(QuadQueueTest, RandomListsDrawAsAStableSortWould)
{
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 300; ++trial)
    {
        const bool shuffled = trial % 3 == 0;
        Scenario s;
        int id = 0;
        float base = 1.0f;
        const int runs = 1 + static_cast<int>(random() % 40);
        for (int r = 0; r < runs; ++r)
        {
            auto depth = [&]() {
                if (shuffled)
                    return static_cast<float>(random() % 16) / 8.0f;
                const int offset = static_cast<int>(random() % 9) - 6;  // mostly at or behind the base
                return base + static_cast<float>(offset) * 0.0005f;
            };
            if (random() % 4 == 0)
            {
                for (int n = static_cast<int>(random() % 4); n >= 0; --n)
                    s.single(Quad(depth(), ++id));
            }
            else
            {
                std::vector<QuadRecord> quads;
                for (int n = static_cast<int>(random() % 12); n >= 0; --n)
                    quads.push_back(Quad(depth(), ++id));
                s.run(quads);
            }
            base -= 0.001f;
        }
        CQuadQueue list;
        s.queueInto(list);
        ASSERT_EQ(list.size(), s.queued.size());
        ASSERT_EQ(Ids(list.ordered()), s.expected()) << "trial " << trial;
    }
}

TEST(QuadQueueTest, TheLastOrderIsReusedOnlyForTheSameQuads)
{
    Scenario s;
    s.run({Quad(0.5f, 1), Quad(0.5f, 2)});
    s.run({Quad(0.9f, 3)});
    s.single(Quad(0.7f, 4));
    CQuadQueue list;
    s.queueInto(list);
    const std::vector<int> first = Ids(list.ordered());
    EXPECT_EQ(first, (std::vector<int>{3, 4, 1, 2}));

    // The same runs and single quads again.
    list.clear();
    s.queueInto(list);
    EXPECT_EQ(Ids(list.ordered()), first);

    // A run made again in the same storage comes with a new stamp.
    s.runs[0][0] = Quad(1.5f, 5);
    list.clear();
    s.queueInto(list, 10);
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{5, 3, 4, 2}));

    // A single quad that changed.
    s.singles[0] = Quad(2.0f, 6);
    list.clear();
    s.queueInto(list, 10);
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{6, 5, 3, 2}));

    // Fewer runs.
    list.clear();
    list.addRun(s.runs[1].data(), 1, 11);
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{3}));
    list.clear();
    EXPECT_TRUE(list.ordered().empty());
}

TEST(QuadQueueTest, ForgottenTexturesAndCopiedRuns)
{
    auto* kept = reinterpret_cast<IQXHostTexture*>(0x10);
    auto* gone = reinterpret_cast<IQXHostTexture*>(0x20);
    std::vector<QuadRecord> run = {Quad(0.9f, 1), Quad(0.8f, 2), Quad(0.7f, 3)};
    run[0].hostTexture = kept;
    run[1].hostTexture = gone;
    run[2].hostTexture = nullptr;  // a game object
    QuadRecord single = Quad(0.85f, 4);
    single.hostTexture = gone;

    CQuadQueue list;
    list.addRun(run.data(), 3, 1);
    list.add(single);
    list.forget(gone);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{1, 3}));
    // Quads queued after the texture went are kept.
    list.add(single);
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{1, 4, 3}));

    // Copied runs no longer depend on the caller's storage.
    list.clear();
    list.addRun(run.data(), 3, 2);
    list.copyRuns();
    run.assign(3, Quad(0.1f, 9));
    EXPECT_EQ(Ids(list.ordered()), (std::vector<int>{1, 2, 3}));
}
} // namespace
