#pragma once
// What the executor asks of the registry of host classes that binds class members (installed as
// the tag of the "class" special importer): the host class of a script class name. The operators
// "is" and "as" use it to test an object against a script class.

#include <string_view>

namespace tv {
class TClassInfo;
}

namespace tv::script {

class TPSClassRegistry {
public:
    virtual ~TPSClassRegistry() = default;
    // The host class registered under that name (compared upper-cased); nil when none.
    virtual const TClassInfo* FindHostClass(std::string_view name) const = 0;
};

inline constexpr std::string_view kClassImporterName = "class";

}  // namespace tv::script
