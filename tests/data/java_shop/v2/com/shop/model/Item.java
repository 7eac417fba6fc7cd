package com.shop.model;

import java.util.Map;

// Two top-level types in one file.
public class Item extends Base implements Priced {
    private final double amount;
    private String straße;

    public Item(String name, double amount) {
        this.name = name;
        this.amount = amount;
    }

    @Override
    public double price() {
        return amount;
    }

    public double preisÄnderung(double älterPreis) {
        return amount - älterPreis;
    }
}

abstract class Base {
    protected String name;
    protected Map<String, Map<String, Integer>> tags;
}

final class Zähler {
    int stand;
}
