#include "gateway/HSessVar.h"

// Placeholder until the session store lands: no request ever has a session.
void EndRequestSession() {}
void TerminateSession() {}
void RemoveSessionObjects(TComponent*, const TRemoveSessionObjectEvent&) {}
void ClearSession(bool ignoreMissing) {
  if (!ignoreMissing) throw Exception("No Session started");
}
