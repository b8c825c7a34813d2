#include "records.h"

#include "textutil.h"

void messageRecord::copyUtf8(char *field, size_t size, const QString &text)
{
    copyUtf8Field(field, size, text.toUtf8());
}

void registerVarnoMetaTypes()
{
    qRegisterMetaType<universalSwitchMessage>("universalSwitchMessage");
    qRegisterMetaType<messageRecord>("messageRecord");
}
