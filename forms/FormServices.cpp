#include "forms/FormServices.h"

#include "forms/RealMessageBoxes.h"
#include "forms/RealModalRunner.h"
#include "forms/RealSystemDialogs.h"

namespace molvik {

FormServices FormServices::real()
{
    return {std::make_shared<RealModalRunner>(), std::make_shared<RealMessageBoxes>(), std::make_shared<RealSystemDialogs>()};
}

} // namespace molvik
