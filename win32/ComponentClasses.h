// The component classes a form's layout may name ("TTimer", "TBitBtn" ...): forms make their
// components through this list, so that the form code needs none of the component units.
#pragma once

#include <string>

class TComponent;

// Makes a component of a class that layouts may name, owned by `owner`; throws for an
// unknown class.
TComponent* CreateRegisteredComponent(const std::string& className, TComponent* owner);
