// The figures of one run: our value, the baseline measured beside it, their
// ratio and the target, printed as one table at the end.
#ifndef TETHER_BENCH_FIGURE_TABLE_H
#define TETHER_BENCH_FIGURE_TABLE_H

#include <string>
#include <vector>

namespace TetherBench {

enum class ETarget {
    None,
    RatioAtMost,   // ours / baseline <= limit (times, latencies)
    RatioAtLeast,  // ours / baseline >= limit (rates)
    OursBelow      // ours < limit, in the figure's unit
};

struct CFigure {
    std::string m_strName;
    std::string m_strUnit;
    double m_dOurs;
    double m_dBaseline;  // NaN: no baseline
    double m_dRatio;     // measured pairwise; NaN: ours / baseline
    ETarget m_eTarget;
    double m_dLimit;
};

class CFigureTable {
public:
    void Add(const CFigure& figure) { m_aFigures.push_back(figure); }
    // A markdown table with a line on the machine below it; answers whether
    // every target was met.
    bool Print() const;

private:
    std::vector<CFigure> m_aFigures;
};

// "CPU model, N cores, kernel K" of the machine the figures came from.
std::string MachineDescription();

}  // namespace TetherBench

#endif
