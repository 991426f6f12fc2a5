// The queued quads of one render queue: runs, their merge into drawing
// order, and the reuse of the order of the last merge.
#include "render/QuadQueue.h"

#include <algorithm>
#include <cstring>

namespace QXUI
{
bool QuadRecord::operator==(const QuadRecord& o) const
{
    return std::memcmp(this, &o, sizeof(QuadRecord)) == 0;
}

void CQuadQueue::clear()
{
    d_runs.clear();
    d_loose.clear();
    d_count = 0;
    d_orderValid = false;
}

void CQuadQueue::add(const QuadRecord& quad)
{
    // Quads queued one after another at falling depths form one run.
    const uint32_t index = static_cast<uint32_t>(d_loose.size());
    if (!d_runs.empty() && !d_runs.back().quads && d_loose.back().z >= quad.z)
        ++d_runs.back().count;
    else
        d_runs.push_back(Run{nullptr, index, 1, 0});
    d_loose.push_back(quad);
    ++d_count;
    d_orderValid = false;
}

void CQuadQueue::rebuildAsLoose(IQXHostTexture* drop, bool dropping)
{
    std::vector<QuadRecord> kept;
    kept.reserve(d_count);
    for (const Run& run : d_runs)
    {
        const QuadRecord* quads = run.quads ? run.quads : d_loose.data() + run.first;
        for (uint32_t i = 0; i < run.count; ++i)
            if (!dropping || quads[i].hostTexture != drop)
                kept.push_back(quads[i]);
    }
    clear();
    for (const QuadRecord& quad : kept)
        add(quad);
}

void CQuadQueue::forget(IQXHostTexture* hostTexture)
{
    if (!hostTexture)
        return;
    for (const Run& run : d_runs)
    {
        const QuadRecord* quads = run.quads ? run.quads : d_loose.data() + run.first;
        for (uint32_t i = 0; i < run.count; ++i)
        {
            if (quads[i].hostTexture == hostTexture)
            {
                rebuildAsLoose(hostTexture, true);
                return;
            }
        }
    }
}

void CQuadQueue::copyRuns()
{
    for (const Run& run : d_runs)
    {
        if (run.quads)
        {
            rebuildAsLoose(nullptr, false);
            return;
        }
    }
}

bool CQuadQueue::sameAsMerged() const
{
    return d_mergedValid && d_runs == d_mergedRuns && d_loose == d_mergedLoose;
}

const std::vector<QuadRecord>& CQuadQueue::ordered() const
{
    if (d_orderValid)
        return d_ordered;
    if (!sameAsMerged())
        merge();
    d_orderValid = true;
    return d_ordered;
}

// Each run is merged into the quads ordered so far: those of them that lie
// behind the run's first quad move to the scratch list and are merged back
// with the run, the earlier-queued quad first on equal depths.
void CQuadQueue::merge() const
{
    d_mergedRuns = d_runs;
    d_mergedLoose = d_loose;
    d_mergedValid = true;
    d_ordered.clear();
    d_ordered.reserve(d_count);
    const size_t budget = MERGE_MOVES_PER_QUAD * d_count;
    size_t moves = 0;
    for (const Run& run : d_runs)
    {
        const QuadRecord* quads = run.quads ? run.quads : d_loose.data() + run.first;
        const QuadRecord* end = quads + run.count;
        if (d_ordered.empty() || d_ordered.back().z >= quads[0].z)
        {
            d_ordered.insert(d_ordered.end(), quads, end);
            continue;
        }
        const auto from = std::upper_bound(d_ordered.begin(), d_ordered.end(), quads[0].z,
                                           [](float z, const QuadRecord& r) { return z > r.z; });
        moves += static_cast<size_t>(d_ordered.end() - from);
        if (moves > budget)
        {
            sortAll();
            return;
        }
        d_scratch.assign(from, d_ordered.end());
        d_ordered.erase(from, d_ordered.end());
        auto behind = d_scratch.cbegin();
        while (behind != d_scratch.cend() && quads != end)
        {
            if (behind->z >= quads->z)
                d_ordered.push_back(*behind++);
            else
                d_ordered.push_back(*quads++);
        }
        d_ordered.insert(d_ordered.end(), behind, d_scratch.cend());
        d_ordered.insert(d_ordered.end(), quads, end);
    }
}

// The whole list at once, for a queue that is far from sorted.
void CQuadQueue::sortAll() const
{
    d_ordered.clear();
    for (const Run& run : d_runs)
    {
        const QuadRecord* quads = run.quads ? run.quads : d_loose.data() + run.first;
        d_ordered.insert(d_ordered.end(), quads, quads + run.count);
    }
    std::stable_sort(d_ordered.begin(), d_ordered.end(),
                     [](const QuadRecord& a, const QuadRecord& b) { return a.z > b.z; });
}
} // namespace QXUI
