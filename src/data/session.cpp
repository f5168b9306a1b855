#include "data/session.h"

OperatorSession& Session::current()
{
    static OperatorSession session;
    return session;
}

void Session::reset()
{
    current() = OperatorSession();
}
