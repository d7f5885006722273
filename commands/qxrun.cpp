#include "qxrun.h"

#include "context.h"
#include "errors.h"
#include "statussink.h"

qxRun::qxRun(StatusSink &status, bool ownedByCreator) : m_status(status), m_owned(ownedByCreator) {}

void qxRun::lastReferenceGone()
{
    if (!m_owned)
        delete this;
}

int qxRun::memberId(const QString &)
{
    return vbs::NoMember;
}

bool qxRun::invoke(vbs::Context &cx, int, vbs::Invoke, vbs::Args, vbs::Value &)
{
    return cx.raise(vbs::err::NoSuchMember);
}
