// The fixed names of the back-end's web services.
#pragma once

// The XML namespace URI of the uniform interface "UniteInterface".
constexpr const char kUniteInterfaceNamespace[] = "http://tempuri.org/";
// The interface name of every call to the project-library back-end.
constexpr const char kUniteInterfaceName[] = "UniteInterface";
// The XML namespace URI of the object-list service ("GetXml", "GetSqlFormated").
constexpr const char kObjectListNamespace[] = "http://tempuri.org/ObjectList/";
