// The module's singleton base: one function-local static instance of the
// derived class, made on the first call of Instance and destroyed when the
// library unloads. A class that keeps its constructor private names
// Singleton<itself> a friend.
#pragma once

template <class T>
class Singleton
{
public:
    static T& Instance()
    {
        static T instance;
        return instance;
    }
    virtual ~Singleton() {}

protected:
    Singleton() {}

private:
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;
};
