#pragma once

#include "converter/vkbase.h"
#include "converter/vkdom.h"

#include <QByteArray>

namespace corvanta {

// Adds the conversion driver and the page frame to the options component.
class TVkMain : public TVkBase
{
public:
    // Never raises: failures are logged and give an empty or partial result.
    QByteArray Convert(const QByteArray &rtf);
    QByteArray DoConvert(const QByteArray &rtf);
    QByteArray BuildHead();
    QByteArray BuildFoot() const { return "  </body>\r\n</html>"; }

private:
    QByteArray ConvertDocument(const QByteArray &rtf);
    QByteArray MetaTag(const QByteArray &attribute, const QByteArray &name, const QByteArray &content) const;
    QByteArray BodyRule() const;
};

class TCustomVelkaro : public TVkMain
{
};

// The converter that applications create.
class TKvVelkaroXHTML : public TCustomVelkaro
{
public:
    QByteArray ClassName() const override { return "TKvVelkaroXHTML"; }
};

}
