// Stages of the request whose subsystems are still being built do nothing
// yet; the real definitions replace these.
#include "app/vemlo3f.h"

#define PENDING __attribute__((weak))

PENDING void TForm1::InitieraDatabas() {}
PENDING void TForm1::Sok() {}
PENDING void TForm1::SkrivUppgift() {}
