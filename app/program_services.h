#pragma once
// The services the program talks to. The program links the built-in address; the build the
// end-to-end tests run links another definition (tests/app).

#include "services/service_address.h"

ServiceEndpoint ProgramServices();
