#include "FigureTable.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sys/utsname.h>
#include <thread>

namespace TetherBench {

namespace {

std::string Number(double dValue)
{
    if (std::isnan(dValue))
        return "-";
    char szText[32];
    double dMagnitude = std::fabs(dValue);
    std::snprintf(szText, sizeof szText, dMagnitude >= 1000 ? "%.0f" : dMagnitude >= 10 ? "%.1f" : "%.2f", dValue);
    return szText;
}

std::string TargetText(const CFigure& figure)
{
    char szText[48];
    switch (figure.m_eTarget) {
    case ETarget::RatioAtMost:
        std::snprintf(szText, sizeof szText, "ratio <= %.2f", figure.m_dLimit);
        return szText;
    case ETarget::RatioAtLeast:
        std::snprintf(szText, sizeof szText, "ratio >= %.2f", figure.m_dLimit);
        return szText;
    case ETarget::OursBelow:
        std::snprintf(szText, sizeof szText, "< %s %s", Number(figure.m_dLimit).c_str(), figure.m_strUnit.c_str());
        return szText;
    case ETarget::None:
        break;
    }
    return "-";
}

// Empty when the figure has no target.
std::string Verdict(const CFigure& figure, double dRatio)
{
    switch (figure.m_eTarget) {
    case ETarget::RatioAtMost:
        return dRatio <= figure.m_dLimit ? "met" : "MISSED";
    case ETarget::RatioAtLeast:
        return dRatio >= figure.m_dLimit ? "met" : "MISSED";
    case ETarget::OursBelow:
        return figure.m_dOurs < figure.m_dLimit ? "met" : "MISSED";
    case ETarget::None:
        break;
    }
    return "";
}

}  // namespace

bool CFigureTable::Print() const
{
    bool bAllMet = true;
    std::printf("| Figure | Unit | Ours | Baseline | Ratio | Target | |\n");
    std::printf("|---|---|---:|---:|---:|---|---|\n");
    for (const CFigure& figure : m_aFigures) {
        double dRatio = figure.m_dRatio;
        // A limit on our value alone: a ratio of two small growths says nothing.
        if (std::isnan(dRatio) && figure.m_eTarget != ETarget::OursBelow && !std::isnan(figure.m_dBaseline) &&
            figure.m_dBaseline != 0)
            dRatio = figure.m_dOurs / figure.m_dBaseline;
        std::string strVerdict = Verdict(figure, dRatio);
        if (strVerdict == "MISSED")
            bAllMet = false;
        std::printf("| %s | %s | %s | %s | %s | %s | %s |\n", figure.m_strName.c_str(),
                    figure.m_strUnit.c_str(), Number(figure.m_dOurs).c_str(),
                    Number(figure.m_dBaseline).c_str(), Number(dRatio).c_str(),
                    TargetText(figure).c_str(), strVerdict.c_str());
    }
    std::printf("\nMachine: %s\n", MachineDescription().c_str());
    return bAllMet;
}

std::string MachineDescription()
{
    std::string strModel = "unknown CPU";
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string strLine;
    while (std::getline(cpuinfo, strLine)) {
        if (strLine.compare(0, 10, "model name") == 0) {
            std::string::size_type uColon = strLine.find(':');
            if (uColon != std::string::npos)
                strModel = strLine.substr(uColon + 2);
            break;
        }
    }
    std::string strLoad;
    std::ifstream loadavg("/proc/loadavg");
    std::getline(loadavg, strLoad);
    strLoad = strLoad.substr(0, strLoad.find(' '));
    struct utsname stName;
    std::string strKernel = uname(&stName) == 0 ? stName.release : "unknown";
    char szText[256];
    std::snprintf(szText, sizeof szText, "%s, %u cores, Linux %s, load average %s at the end",
                  strModel.c_str(), std::thread::hardware_concurrency(), strKernel.c_str(), strLoad.c_str());
    return szText;
}

}  // namespace TetherBench
