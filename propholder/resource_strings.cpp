#include "resource_strings.h"

namespace {

struct Entry {
  int id;
  const TCHAR* text;
};

constexpr Entry kStrings[] = {
    {1, "Grid"},
    {4, "QZMPropHolder"},
    {10, "QZMHelper"},
    {11, "QZMPropHolder"},
    {25, "QZMPropertyHolder"},
    {33, "Which Pass"},
    {35, "Icon Size"},
    {37, "PropertyIsAnimated"},
    {38, "PropertyFloatController"},
    {39, "PropertyPoint3Controller"},
    {41, "IPropertyFloatController"},
    {42, "IPropertyPoint3Controller"},
    {44, "IPropertyClass"},
    {48, "PassList"},
    {49, "PropertyClass"},
    {50, "PropertyName"},
    {52, "ThisName"},
    {53, "IPropertyIsAnimated"},
    {108, "PropertyState"},
    {109, "PropertyObject"},
    {111, "PropertyPoint4Controller"},
    {112, "PropertyPosController"},
    {113, "PropertyRotController"},
    {114, "PropertyScaleController"},
    {117, "IPropertyState"},
    {118, "IPropertyObject"},
    {120, "IPropertyPoint4Controller"},
    {121, "IPropertyPosController"},
    {122, "IPropertyRotController"},
    {123, "IPropertyScaleController"},
    {1001, "Node"},
    {1002, "NodeArray"},
};

}  // namespace

const TCHAR* GetString(int id) {
  for (const Entry& e : kStrings)
    if (e.id == id) return e.text;
  return "";
}
