// Asks the hook inside the inspected program (inspector_hook.dll, next to
// inspector.exe) a question about its dialog; see query_protocol.h.
#pragma once

#include <string>

#include "query_protocol.h"
#include "session.h"

bool AskDialog(Session& session, QueryKind kind, int control, int index, std::string& answer);
