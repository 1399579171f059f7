#include "devicelink/serialerror.h"

TSerialError::TSerialError(TKind kind, const QString &message)
    : std::runtime_error(message.toStdString()), m_kind(kind)
{}
