#include "app/program_services.h"

ServiceEndpoint ProgramServices() {
    return BuiltInServiceEndpoint();
}
