#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace corvanta {

class IProgressIndicator;

using TFtpProgressEvent = std::function<void(IProgressIndicator *sender, qint64 position, qint64 maximum)>;

struct TProgressStats
{
    int Percent = 0;
    double Speed = 0;     // kilobytes per second, four decimals
    double Remaining = 0; // a time span as a fraction of a day
    bool Changed = false;
};

// Counts the progress of one measure (bytes of a file, files of a batch) and works out
// percentage, speed and remaining time from it.
class IProgressIndicator
{
public:
    virtual ~IProgressIndicator() = default;
    virtual void SetPosition(qint64 position) = 0;
    virtual void SetMaximum(qint64 maximum) = 0;
    virtual qint64 GetMaximum() const = 0;
    virtual void SetOnProgress(const TFtpProgressEvent &handler) = 0;
    virtual TFtpProgressEvent GetOnProgress() const = 0;
    virtual void Reset() = 0;
    virtual void Start() = 0;
    virtual void GetStats(qint64 done, TProgressStats &stats) = 0;
};

using IProgressIndicatorPtr = std::shared_ptr<IProgressIndicator>;

class TProgressIndicator : public IProgressIndicator
{
public:
    void SetPosition(qint64 position) override;
    void SetMaximum(qint64 maximum) override;
    qint64 GetMaximum() const override { return m_maximum; }
    void SetOnProgress(const TFtpProgressEvent &handler) override { m_onProgress = handler; }
    TFtpProgressEvent GetOnProgress() const override { return m_onProgress; }
    void Reset() override { m_position = 0; }
    void Start() override;
    void GetStats(qint64 done, TProgressStats &stats) override;

    qint64 Position() const { return m_position; }
    // The millisecond tick source; a steady clock unless a test sets its own.
    std::function<quint32()> Ticks = SteadyTicks;
    static quint32 SteadyTicks();

private:
    qint64 m_position = 0;
    qint64 m_maximum = 0;
    TFtpProgressEvent m_onProgress;
    int m_lastPercent = 0;
    quint32 m_startTicks = 0;
};

}
