#include "ftp/ftptransferprogress.h"

#include <QCoreApplication>

#include <chrono>
#include <cmath>

namespace corvanta {

namespace {

qint64 divideUp(qint64 a, qint64 b)
{
    return a / b + (a % b > 0 ? 1 : 0);
}

}

quint32 TProgressIndicator::SteadyTicks()
{
    using namespace std::chrono;
    return quint32(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void TProgressIndicator::SetPosition(qint64 position)
{
    if (position == m_position)
        return;
    m_position = position;
    if (m_onProgress)
        m_onProgress(this, m_position, m_maximum);
}

void TProgressIndicator::SetMaximum(qint64 maximum)
{
    m_maximum = maximum;
    m_position = 0;
}

void TProgressIndicator::Start()
{
    Reset();
    m_startTicks = Ticks();
}

void TProgressIndicator::GetStats(qint64 done, TProgressStats &stats)
{
    stats = TProgressStats{};
    const quint32 elapsed = Ticks() - m_startTicks;
    if (elapsed > 0 && m_maximum > 0) {
        const qint64 perMs = divideUp(done, elapsed);
        const qint64 rate = perMs * 1000 + 1;
        stats.Percent = int(divideUp(done * 100, m_maximum));
        stats.Speed = std::round(double(rate) / 1024 * 10000) / 10000;
        stats.Remaining = double(qMax<qint64>(0, divideUp(m_maximum - done, rate))) / 86400;
        stats.Changed = stats.Percent > 0 && stats.Percent != m_lastPercent;
        m_lastPercent = stats.Percent;
    }
    QCoreApplication::processEvents();
}

}
