// The queued quads of one render queue in drawing order: greatest depth
// first, equal depths in the order they were queued. Quads arrive in runs
// that are already in that order (a geometry buffer's quads, sorted when its
// geometry changed) or one at a time; the runs are merged, which costs little
// because the queue is nearly sorted already (depth falls from one window
// buffer to the next). A list that queues the same runs and quads as the one
// merged last draws the quads laid out then in drawing order, without
// merging again, so an idle frame allocates nothing and sorts nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "IQXRender.h"

namespace QXUI
{
// One queued quad as the host gets it: the arguments of its DrawQuad /
// DrawQuadAlpha call, or of the engine client's RenderObjectQuad for a game
// object. One cache line, and compared byte for byte: records start zeroed,
// padding included.
struct QuadRecord
{
    IQXHostTexture* hostTexture;  // null for a game object
    float z;
    bool alpha;                   // DrawQuadAlpha rather than DrawQuad
    bool sized;                   // the source has texels (unsized quads are not drawn)
    uint8_t splitMode;            // as the library passed it; drawing does not use it
    float tex[4];                 // texture rectangle: left, top, right, bottom
    struct Textured
    {
        uint32_t colours[4];      // ARGB: top-left, top-right, bottom-right, bottom-left
        int x, y;                 // the shifted destination's corner, truncated
        float scale[2];           // destination size over source texels
    };
    struct GameObject
    {
        int rect[4];              // the shifted destination, truncated: left, top, right, bottom
        uint32_t objectId;
        uint32_t renderOp;
    };
    union
    {
        Textured drawn;
        GameObject object;
    };

    bool operator==(const QuadRecord& o) const;
    bool operator!=(const QuadRecord& o) const { return !(*this == o); }
};
static_assert(sizeof(QuadRecord) == 64, "a queued quad fills one cache line");

class CQuadQueue
{
public:
    // Merging a run into the quads before it moves those of them that lie
    // behind the run's first quad. Beyond this many moves per queued quad
    // (a queue far from sorted) the list is sorted as a whole instead.
    static const size_t MERGE_MOVES_PER_QUAD = 8;

    // Empties the list. The order worked out last is kept for comparison.
    void clear();
    // A run of quads in drawing order, in storage of the caller's that stays
    // as it is while the list holds the run; the stamp names the run's
    // contents (a run with the stamp of one merged before holds the same
    // quads at the same address).
    void addRun(const QuadRecord* quads, uint32_t count, uint64_t stamp)
    {
        if (!quads || count == 0)
            return;
        Run& run = d_runs.emplace_back();
        run.quads = quads;
        run.first = 0;
        run.count = count;
        run.stamp = stamp;
        d_count += count;
        d_orderValid = false;
    }
    // One quad, copied.
    void add(const QuadRecord& quad);
    // Drops the queued quads of a host texture about to be released.
    void forget(IQXHostTexture* hostTexture);
    // Copies the queued runs, so that the callers' storage may change.
    void copyRuns();

    // The queued quads in drawing order, valid until the list changes.
    const std::vector<QuadRecord>& ordered() const;
    size_t size() const { return d_count; }
    bool empty() const { return d_count == 0; }

private:
    struct Run
    {
        const QuadRecord* quads;  // the caller's storage; null: d_loose from index first
        uint32_t first;
        uint32_t count;
        uint64_t stamp;

        bool operator==(const Run& o) const
        {
            return quads == o.quads && first == o.first && count == o.count && stamp == o.stamp;
        }
    };

    bool sameAsMerged() const;
    void merge() const;
    void sortAll() const;
    void rebuildAsLoose(IQXHostTexture* drop, bool dropping);

    std::vector<Run> d_runs;
    std::vector<QuadRecord> d_loose;
    size_t d_count = 0;

    // What the last merge worked from (its runs and loose quads) and what
    // it gave: copies of the quads in drawing order.
    mutable std::vector<Run> d_mergedRuns;
    mutable std::vector<QuadRecord> d_mergedLoose;
    mutable std::vector<QuadRecord> d_ordered;
    mutable std::vector<QuadRecord> d_scratch;
    mutable bool d_orderValid = false;
    mutable bool d_mergedValid = false;
};
} // namespace QXUI
