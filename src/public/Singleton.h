// One object of a class for the whole module: a function-local static built
// on first use and destroyed when the library unloads.
#pragma once

template <class T>
class Singleton
{
public:
    virtual ~Singleton() {}

    static T& Instance()
    {
        static T instance;
        return instance;
    }
};
