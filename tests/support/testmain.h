#pragma once

#include <QObject>
#include <functional>
#include <memory>

// Each test file registers its test class; one main runs them all.
namespace TestRegistry {
void add(const char* name, std::function<std::unique_ptr<QObject>()> factory);
}

template <typename T> struct TestRegistrar {
    explicit TestRegistrar(const char* name)
    {
        TestRegistry::add(name, [] { return std::unique_ptr<QObject>(new T); });
    }
};

#define LIBRARY_TEST(Class) static TestRegistrar<Class> registrar_##Class(#Class);
