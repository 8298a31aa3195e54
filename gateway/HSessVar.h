// Session variables: the process-wide session store, the session access
// object and the session file records.
#pragma once

#include <string>

#include "gateway/HttpEng.h"

// End of request: save the request's session (when it has one) and release
// its access object.
void EndRequestSession();
// End of process or library: the same work as at the end of a request.
void TerminateSession();
// Hands every stored session object to the removal event and releases it.
void RemoveSessionObjects(TComponent* sender, const TRemoveSessionObjectEvent& onRemove);
// Clears the current session; a request without one is left alone when
// `ignoreMissing` is set (the extension's unload), else "No Session started".
void ClearSession(bool ignoreMissing = false);
