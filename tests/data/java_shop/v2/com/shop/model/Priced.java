package com.shop.model;

/** Anything with a price. */
public interface Priced {
    double price();

    default boolean free() {
        return price() == 0;
    }
}
